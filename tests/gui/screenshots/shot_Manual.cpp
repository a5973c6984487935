// Renders the manual's pictures that need real runs: the library search page after a search of a JCAMP-DX run
// against a library made from nine other real runs, and the program with F1 pressed on that page (main window
// and help window side by side). The runs come from $CORVELIN_SCREENSHOT_DATA (default /work/shared/data/) and
// are copied into a temporary folder first; skipped when they are absent. The files go to
// $CORVELIN_SCREENSHOT_DIR (default: ./screenshots). docs/manual/images/README.md lists every picture.
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/Conversion.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

QString DataFolder()
{
    const QString folder = qEnvironmentVariable("CORVELIN_SCREENSHOT_DATA");
    return folder.isEmpty() ? QStringLiteral("/work/shared/data/") : folder + QLatin1Char('/');
}

QString Run(const QString& name)
{
    return DataFolder() + QStringLiteral("jdx/PyMassSpec/") + name + QStringLiteral("_SUBTRACT.JDX");
}

void Save(const QPixmap& picture, const QString& name)
{
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(picture.save(path), qPrintable(path));
}

// Copies the run into folder and converts it there (1 % minimum peak area); returns the entry's path.
std::string ConvertCopy(const QString& run, const std::string& folder, const CSearchOptions& options)
{
    const std::string copy = folder + "/" + ToStdString(QFileInfo(run).fileName());
    if (!QFile::copy(run, ToQString(copy)))
        return {};
    CInfoTree tree;
    if (!ConvertChromatogram(copy, 1.0, options, false, tree))
        return {};
    QFile::remove(ToQString(copy));
    return LibraryEntryName(copy);
}

} // namespace

class ScreenshotsManualTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!QFileInfo::exists(Run(QStringLiteral("ELEY_1"))) || !QFileInfo::exists(Run(QStringLiteral("GECO_1"))))
            QSKIP("the ELEY and GECO runs of the shared data folder are not here");
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        auto jcamp = std::make_unique<CDatasystemPlugin>(CORVELIN_JCAMP_READER);
        jcamp->Name = "JCAMP-DX GC/MS";
        jcamp->Extension = ".jdx";
        jcamp->Filter = "JCAMP-DX GC/MS Files (*.jdx)|*.jdx";
        jcamp->RegisteredPath = CORVELIN_JCAMP_READER;
        DatasystemPlugins().Append(std::move(jcamp));
        QDir().mkpath(ScreenshotFolder());
    }
    void cleanup() { m_env.reset(); }

    void librarySearchOfARealRunAndF1()
    {
        TempDir dir;
        const std::string library = dir.File("library");
        const std::string unknowns = dir.File("unknown");
        QVERIFY(QDir().mkpath(ToQString(library)) && QDir().mkpath(ToQString(unknowns)));
        CSearchOptions options;
        for (const char* name :
             {"ELEY_2", "ELEY_3", "ELEY_4", "ELEY_5", "GECO_1", "GECO_2", "GECO_3", "GECO_4", "GECO_5"})
            QVERIFY2(!ConvertCopy(Run(QString::fromLatin1(name)), library, options).empty(), name);
        const std::string unknown = ConvertCopy(Run(QStringLiteral("ELEY_1")), unknowns, options);
        QVERIFY(!unknown.empty());

        CLibraryManagerSheet sheet;
        sheet.SetHelpPath(CORVELIN_MANUAL_INDEX);
        sheet.resize(1100, 640);
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        page->Session.UnknownPath = unknown;
        page->Session.LibraryFolder = library + "/";
        page->RefreshControls();
        page->OnSearch();
        QVERIFY(WaitFor([page] { return !page->IsRunning(); }));
        QCOMPARE(page->HitList()->Table().RowCount(), 9);
        page->HitList()->SelectRows({0});
        QCoreApplication::processEvents();
        QTest::qWait(50);
        Save(sheet.grab(), QStringLiteral("library-search.png"));

        // F1 on the page: the help window opens at the page's section.
        QTest::keyClick(&sheet, Qt::Key_F1);
        CHelpWindow* help = sheet.HelpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->Shown().fragment(), QStringLiteral("library-search"));
        QCoreApplication::processEvents();
        QTest::qWait(50);
        const QPixmap main = sheet.grab();
        const QPixmap manual = help->grab();
        QPixmap both(main.width() + manual.width() + 12, std::max(main.height(), manual.height()));
        both.fill(QColor(90, 90, 96));
        QPainter painter(&both);
        painter.drawPixmap(0, 0, main);
        painter.drawPixmap(main.width() + 12, 0, manual);
        painter.end();
        Save(both, QStringLiteral("help-f1-library-search.png"));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsManualTest)
#include "shot_Manual.moc"
