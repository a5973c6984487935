// The "Peak Match Table" page: its refusals and the multiple-matching question, the header-click sorting, the
// context menu's sides, and the CSV export compared byte for byte with corvelinscope-batch's.
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <filesystem>

#include "engine/options/IniSettings.h"
#include "engine/options/SearchParameterFile.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/UserName.h"
#include "engine/plugins/PluginRegistration.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/PagePeakMatchTable.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

int g_sheetsOpened = 0;
QString g_sheetTitle;

int CountSheet(CSearchOptionsUI& sheet)
{
    ++g_sheetsOpened;
    g_sheetTitle = sheet.windowTitle();
    return QDialog::Rejected;
}

// The batch program in a folder of its own with a settings file registering the entry reader.
QByteArray RunBatch(const TempDir& dir, const QStringList& args, int& exitCode)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(dir.Path()) / "batch";
    fs::create_directories(root / "bin");
    fs::create_directories(root / "home");
    if (!fs::exists(root / "bin" / "corvelinscope-batch")) {
        fs::copy_file(CORVELIN_BATCH_EXE, root / "bin" / "corvelinscope-batch");
        fs::create_directory_symlink(CORVELIN_LIB_DIR, root / "lib");
        auto previous = SetSettingsStore(
            std::make_shared<CIniSettingsStore>((root / "bin" / "settings.ini").string(), LoggedOnUserName()));
        PluginRegistration entry;
        entry.Key = "LibraryEntry";
        entry.Name = "Corvelinscope Library Entry";
        entry.Path = CORVELIN_ENTRY_READER;
        entry.Extension = ".ChromLibEntry";
        entry.Filter = "Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry";
        RegisterPlugin(entry);
        SetSettingsStore(previous);
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), ToQString((root / "home").string()));
    env.insert(QStringLiteral("CORVELIN_REGISTRY_DIR"), ToQString((root / "home").string()));
    process.setProcessEnvironment(env);
    process.start(ToQString((root / "bin" / "corvelinscope-batch").string()), args);
    process.waitForFinished(60000);
    exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

// "Build Peak Match Table", waiting for the build's job to end.
void Build(CPagePeakMatchTable& page)
{
    page.OnBuild();
    QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
}

} // namespace

class PeakMatchTableTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        m_dir = std::make_unique<TempDir>();
        m_this = m_dir->File("this.ChromLibEntry");
        m_other = m_dir->File("other.ChromLibEntry");
        WriteTestEntry(m_this, 10, 12, "This sample");
        WriteTestEntry(m_other, 11, 10, "Other sample");
        CPeakMatchSort::Reset();
        g_sheetsOpened = 0;
        CSearchOptionsUI::SetExecHook(&CountSheet);
    }
    void cleanup()
    {
        CSearchOptionsUI::SetExecHook(nullptr);
        SetFileChoiceHook({});
        m_dir.reset();
        m_env.reset();
    }

    void refusesWithoutBothPathsAndAsksAboutMultipleMatching()
    {
        CSearchOptions options;
        CPagePeakMatchTable page(options);
        page.ThisPath = m_this;
        page.RefreshControls();
        page.OnBuild();
        QCOMPARE(m_env->Recorder().Texts(), std::vector<std::string>{"Please choose the files to compare"});

        options.MultipleMatching = 1;
        page.OtherPath = m_other;
        page.RefreshControls();
        m_env->Recorder().answers = {MessageAnswer::No, MessageAnswer::Yes};
        page.OnBuild();
        QCOMPARE(g_sheetsOpened, 0);
        page.OnBuild();
        QCOMPARE(g_sheetsOpened, 1);
        QCOMPARE(g_sheetTitle, QStringLiteral("Compare Options"));
        QCOMPARE(m_env->Recorder().Texts("yesno").size(), std::size_t(2));
        QVERIFY(!page.IsBusy()); // refused before any reading started
        QCOMPARE(page.List()->Table().RowCount(), 0);
        QVERIFY(!page.CanExportCsv());
    }

    // While its job runs the build button reads "Stop" and the export waits; a second build supersedes the first,
    // and a stopped build leaves the table it found.
    void buildRunsAsAJob()
    {
        CSearchOptions options;
        CPagePeakMatchTable page(options);
        const QString idle = page.BuildButton()->text();
        page.ThisPath = m_this;
        page.OtherPath = m_this;
        page.RefreshControls();
        page.OnBuild();
        QVERIFY(page.IsBusy());
        QCOMPARE(page.BuildButton()->text(), QStringLiteral("Stop"));
        page.OtherPath = m_other;
        page.RefreshControls();
        Build(page);
        QCOMPARE(page.BuildButton()->text(), idle);
        QVERIFY(page.CanExportCsv());
        QCOMPARE(page.Model().Other().SourcePath, m_other);
        const int rows = page.List()->Table().RowCount();

        page.OtherPath = m_this;
        page.RefreshControls();
        page.OnBuild();
        QVERIFY(!page.CanExportCsv());
        QThread::msleep(200);        // the build is likely done and its table on its way: Stop must still drop it
        page.BuildButton()->click(); // Stop
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QCOMPARE(page.LastOutcome(), CPeakMatchTable::Outcome::Stopped);
        QCOMPARE(page.Model().Other().SourcePath, m_other);
        QCOMPARE(page.List()->Table().RowCount(), rows);
        QVERIFY(page.CanExportCsv());
    }

    void buildSortAndContextMenu()
    {
        CSearchOptions options;
        CPagePeakMatchTable page(options);
        page.ThisPath = m_this;
        page.OtherPath = m_other;
        page.RefreshControls();
        Build(page);
        QVERIFY(page.CanExportCsv());
        const CReportTable& table = page.List()->Table();
        QCOMPARE(table.ColumnCount(), 24);
        QVERIFY(table.RowCount() >= 12);

        auto areas = [&table] {
            std::vector<double> v;
            for (int r = 0; r < table.RowCount(); ++r)
                v.push_back(LeadingReal(table.Cell(r, 2)));
            return v;
        };
        page.OnColumnClick(2);
        std::vector<double> v = areas();
        QVERIFY(std::is_sorted(v.rbegin(), v.rend()));
        page.OnColumnClick(2);
        v = areas();
        QVERIFY(std::is_sorted(v.begin(), v.end()));

        // 12 peaks against 10: some "this" peak has no partner, its "other" side reads "-".
        int dashRow = -1;
        for (int r = 0; r < table.RowCount() && dashRow < 0; ++r)
            if (table.Cell(r, 9) == "-")
                dashRow = r;
        QVERIFY(dashRow >= 0);
        std::unique_ptr<QMenu> menu(page.CreateContextMenu(dashRow, 12));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Search \"Other\" peak in NIST ..."));
        QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Add \"Other\" peak to MS search options"));
        QVERIFY(!menu->actions().at(0)->isEnabled());
        QVERIFY(!menu->actions().at(1)->isEnabled());
        menu.reset(page.CreateContextMenu(dashRow, 3));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Search \"This\" peak in NIST ..."));
        QVERIFY(menu->actions().at(0)->isEnabled());
        // A row with a "this" peak: the action adds its spectrum, unchecked, under "RT path".
        int thisRow = 0;
        while (table.Cell(thisRow, 0) == "-")
            ++thisRow;
        menu.reset(page.CreateContextMenu(thisRow, 0));
        menu->actions().at(1)->trigger();
        QCOMPARE(options.GetSpectraCount(), 1);
        std::string name;
        bool active = true;
        options.GetSpectrum(0, &name, &active);
        QCOMPARE(name, table.Cell(thisRow, 0) + " " + m_this);
        QVERIFY(!active);
    }

    void csvExportEqualsTheBatchProgramsFile()
    {
        CSearchOptions options;
        options.RTMatching = 1;
        options.AreaMatching = 1;
        options.RTWindowWidth = 0.2;
        const std::string params = m_dir->File("compare.spf");
        QVERIFY(WriteParameterFile(options, params));
        CSearchOptions loaded;
        QVERIFY(ReadParameterFile(loaded, params));
        CPagePeakMatchTable page(loaded);
        page.ThisPath = m_this;
        page.OtherPath = m_other;
        page.RefreshControls();
        Build(page);

        const std::string pageCsv = m_dir->File("page.csv");
        CFileChoice asked;
        SetFileChoiceHook([&](const CFileChoice& request) {
            asked = request;
            return CFileChoiceResult{ToQString(pageCsv), 1};
        });
        page.OnCsvExport();
        QCOMPARE(asked.initialFile, QStringLiteral("this.ChromLibEntry_other.ChromLibEntry.CSV"));
        QCOMPARE(asked.filter, std::string("CSV-Files (*.csv)|*.csv|All Files (*.*)|*.*||"));

        int exitCode = -1;
        const QByteArray batch = RunBatch(*m_dir,
                                          {ToQString("/Params=" + params), ToQString("/PeakTable=" + m_this),
                                           ToQString("/PeakTableOther=" + m_other)},
                                          exitCode);
        QCOMPARE(exitCode, 0);
        const std::string written = ReadAllText(pageCsv);
        QVERIFY(written.find("\r\n\"RT (this)\",") != std::string::npos);
        QCOMPARE(written, std::string(batch.constData(), static_cast<std::size_t>(batch.size())));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
    std::unique_ptr<TempDir> m_dir;
    std::string m_this;
    std::string m_other;
};

CORVELIN_GUI_TEST_MAIN(PeakMatchTableTest)
#include "tst_PeakMatchTable.moc"
