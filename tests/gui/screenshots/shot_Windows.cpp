// Renders the program's windows to PNG files (QWidget::grab) for a reviewer: the main window after a search,
// the options sheet pages, the program options, the column arrangement and the Add Chromatogram page after
// "just display". The files go to $CORVELIN_SCREENSHOT_DIR (default: ./screenshots).
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTreeWidget>

#include "tests/gui/GuiTestSupport.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/widgets/QtText.h"
#include "gui/options/DialogOptions.h"
#include "gui/options/SearchMassspecs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/widgets/ColumnArrange.h"
#include "gui/widgets/OdorListCtrl.h"

using namespace corvelin;

namespace {

void Save(QWidget& widget, const QString& name)
{
    widget.show();
    QCoreApplication::processEvents();
    QTest::qWait(50);
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(widget.grab().save(path), qPrintable(path));
}

} // namespace

class ScreenshotsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
    }
    void cleanup() { m_env.reset(); }

    void mainWindowAfterASearch()
    {
        TempDir dir;
        const std::string library = MakeTestLibrary(dir, "library", 24, 25, true);
        const std::string unknown = dir.File("library/entry0003.ChromLibEntry");
        CLibraryManagerSheet sheet;
        sheet.resize(1100, 700);
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        page->Session.UnknownPath = unknown;
        page->Session.LibraryFolder = library;
        page->RefreshControls();
        page->OnSearch();
        QVERIFY(WaitFor([page] { return !page->IsRunning(); }));
        page->HitList()->SelectRows({1});
        Save(sheet, QStringLiteral("main-window-library-search.png"));

        CColumnArrange arrange(page->HitList()->Table(), "LibrarySearch");
        Save(arrange, QStringLiteral("column-arrangement.png"));

        // Add Chromatogram after "just display" of an entry.
        CPageChromatogramAdd* add = sheet.ChromatogramAddPage();
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::ChromatogramAdd));
        add->DataFile = unknown;
        add->RefreshControls();
        add->OnJustDisplay();
        QVERIFY(add->InfoTree()->topLevelItemCount() > 0);
        Save(sheet, QStringLiteral("add-chromatogram-just-display.png"));
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::MatchMatrix));
        Save(sheet, QStringLiteral("main-window-placeholder-page.png"));
    }

    // With CORVELIN_SCREENSHOT_ANDI naming a real ANDI/AIA file (copied into a temporary folder first, since
    // nothing is written beside it), the Add Chromatogram page shows what "just display" reads from it.
    void addChromatogramWithARealRun()
    {
        const QString source = qEnvironmentVariable("CORVELIN_SCREENSHOT_ANDI");
        if (source.isEmpty() || !m_env->AddAndiReader())
            QSKIP("set CORVELIN_SCREENSHOT_ANDI to an ANDI/AIA file (and build the ANDI reader)");
        TempDir dir;
        const std::string copy = dir.File(ToStdString(QFileInfo(source).fileName()));
        QVERIFY(QFile::copy(source, ToQString(copy)));
        CLibraryManagerSheet sheet;
        sheet.resize(1100, 700);
        sheet.show();
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::ChromatogramAdd));
        CPageChromatogramAdd* add = sheet.ChromatogramAddPage();
        add->DataFile = copy;
        add->RefreshControls();
        add->OnJustDisplay();
        QTreeWidget* tree = add->InfoTree();
        QVERIFY(tree->topLevelItemCount() == 1);
        // Open the first peak's spectrum lines too.
        if (QTreeWidgetItem* peaks = tree->topLevelItem(0)->child(tree->topLevelItem(0)->childCount() - 1))
            if (peaks->childCount() > 0) {
                peaks->child(0)->setExpanded(true);
                if (peaks->child(0)->childCount() > 0)
                    peaks->child(0)->child(0)->setExpanded(true);
            }
        Save(sheet, QStringLiteral("add-chromatogram-real-andi.png"));
    }

    void optionsPages()
    {
        CSearchOptions options;
        CLibraryMassSpectrumData spectrum;
        for (auto [m, i] : {std::pair{41.0, 35.0},
                            {43.0, 100.0},
                            {57.0, 80.0},
                            {71.0, 30.0},
                            {85.0, 12.0},
                            {99.0, 4.0},
                            {114.0, 6.0}})
            spectrum.Append(CLibraryMassSpectrumPoint(m, i));
        options.AddSpectrum("n-octane", spectrum, true);
        options.AddSpectrum("toluene (ISTD)", spectrum, false);
        for (auto [name, rt, ri] : {std::tuple{"C10", 5.12, 1000.0}, {"C12", 7.85, 1200.0}, {"C14", 10.31, 1400.0}}) {
            auto point = std::make_unique<CLibraryRICalibrationPoint>();
            point->Set(name, rt, ri, CLibraryMassSpectrumData());
            options.RICalibration().AddPoint(std::move(point));
        }
        CSearchOptionsUI sheet(QStringLiteral("Search Options"), options,
                               {CSearchOptionsUI::Summary, CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec,
                                CSearchOptionsUI::RICalibration});
        sheet.resize(700, 560);
        const char* names[] = {"options-summary.png", "options-peak-properties.png", "options-mass-spectra.png",
                               "options-ri-calibration.png"};
        for (int i = 0; i < sheet.Tabs()->count(); ++i) {
            sheet.Tabs()->setCurrentIndex(i);
            if (auto* massSpec = qobject_cast<CSearchMassspecs*>(sheet.Tabs()->currentWidget()))
                massSpec->List()->setCurrentItem(massSpec->List()->topLevelItem(0));
            Save(sheet, QString::fromLatin1(names[i]));
        }
        sheet.reject();

        CDialogOptions dialog;
        Save(dialog, QStringLiteral("program-options.png"));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsTest)
#include "shot_Windows.moc"
