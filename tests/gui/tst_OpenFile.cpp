// A file given to the desktop program without a keyword (the file manager's "open with"): a library entry is
// shown on "Add Chromatogram" with "just display" and nothing is written; a parameter file becomes the options.
#include <QDir>
#include <QTabWidget>
#include <QTreeWidget>

#include "engine/options/SearchParameterFile.h"
#include "engine/plugins/PluginRegistration.h"
#include "gui/app/LibraryManagerApp.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class OpenFileTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        // The start-up builds the plug-in list from the registration, as the program does.
        RegisterPlugin({"LibraryEntry", "Corvelinscope Library Entry", CORVELIN_ENTRY_READER, "", ""});
    }
    void cleanup() { m_env.reset(); }

    void anEntryIsShownOnAddChromatogram()
    {
        TempDir dir;
        const std::string entry = dir.File("run1.ChromLibEntry");
        WriteTestEntry(entry, 3, 12, "run one");
        CLibraryManagerApp app({"corvelinscope", entry});
        QVERIFY(app.Start());
        CLibraryManagerSheet* sheet = app.MainWindow();
        sheet->show();
        CPageChromatogramAdd* add = sheet->ChromatogramAddPage();
        QVERIFY(WaitFor([add] { return add->InfoTree()->topLevelItemCount() > 0; }, 10000));
        QCOMPARE(sheet->ActivePage(), static_cast<CMainPage*>(add));
        // The file's description: its header and its 12 peaks.
        QTreeWidgetItem* top = add->InfoTree()->topLevelItem(0);
        QVERIFY(top->text(0).startsWith(QStringLiteral("Reading file ")));
        bool peaks = false;
        for (int i = 0; i < top->childCount(); ++i)
            peaks = peaks || top->child(i)->text(0).contains(QStringLiteral("Number of Peaks: 12"));
        QVERIFY(peaks);
        // Shown, not converted: the folder holds the entry alone.
        QCOMPARE(QDir(ToQString(dir.Path().string())).entryList(QDir::Files).size(), 1);
    }

    void aParameterFileBecomesTheOptions()
    {
        TempDir dir;
        CSearchOptions options;
        options.RTWindowWidth = 0.37;
        const std::string spf = dir.File("method.spf");
        QVERIFY(WriteParameterFile(options, spf));
        CLibraryManagerApp app({"corvelinscope", spf});
        QVERIFY(app.Start());
        CLibraryManagerSheet* sheet = app.MainWindow();
        QCOMPARE(sheet->Options().RTWindowWidth, 0.37);
        sheet->show();
        QTest::qWait(50);
        QCOMPARE(sheet->ChromatogramAddPage()->InfoTree()->topLevelItemCount(), 0);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(OpenFileTest)
#include "tst_OpenFile.moc"
