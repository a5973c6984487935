// The library search page in the main window: searching a generated library, sorting, stopping, the exit
// questions, the hand-off refusals, and the hidden-column rule of the CSV report and the printed report.
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QTabWidget>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/gui/GuiTestSupport.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/IPageHost.h"
#include "gui/widgets/QtText.h"
#include "engine/options/SearchParameterFile.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/print/LibrarySearchReportPrinter.h"
#include "engine/platform/NumberScan.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "engine/workflow/HitList.h"

using namespace corvelin;

namespace {

std::vector<double> ColumnValues(const CReportTable& table, int column)
{
    std::vector<double> values;
    for (int r = 0; r < table.RowCount(); ++r)
        values.push_back(LeadingReal(table.Cell(r, column)));
    return values;
}

bool IsDescending(const std::vector<double>& values)
{
    for (std::size_t i = 1; i < values.size(); ++i)
        if (values[i] > values[i - 1] + 1e-4)
            return false;
    return true;
}

std::vector<std::string> Kinds(const RecordingMessageSink& sink)
{
    std::vector<std::string> kinds;
    for (const auto& e : sink.entries)
        kinds.push_back(e.kind);
    return kinds;
}

std::string FindCsv(const std::filesystem::path& folder)
{
    for (const auto& file : std::filesystem::directory_iterator(folder))
        if (file.path().extension() == ".csv")
            return file.path().string();
    return {};
}

// A window that records the hand-offs a page asks of it and answers with a set outcome.
class RecordingPageHost : public IPageHost {
public:
    PageHandOff answer = PageHandOff::Done;
    std::vector<std::vector<std::string>> calls; // hand-off name, then its paths

    CMainPage* Page(PageId) const noexcept override { return nullptr; }
    bool IsPageAdded(PageId) const noexcept override { return true; }
    bool ActivatePage(PageId) override { return true; }
    PageHandOff ShowChromatogramMatch(const std::string& a, const std::string& b) override
    {
        calls.push_back({"match", a, b});
        return answer;
    }
    PageHandOff BuildMatchMatrix(const std::string& a, const std::string& b) override
    {
        calls.push_back({"matrix", a, b});
        return answer;
    }
    PageHandOff AddToOverlay(const std::vector<std::string>& paths) override
    {
        calls.push_back({"overlay"});
        calls.back().insert(calls.back().end(), paths.begin(), paths.end());
        return answer;
    }
    void PostOk() override {}
    void EndWithoutQuestions() override {}
};

} // namespace

class LibrarySearchTest : public QObject {
    Q_OBJECT

    // Runs a search on the page and waits for its end.
    static bool Search(CPageLibrarySearch* page, const std::string& unknown, const std::string& library)
    {
        page->Session.UnknownPath = unknown;
        page->Session.LibraryFolder = library;
        page->RefreshControls();
        page->OnSearch();
        return WaitFor([page] { return !page->IsRunning(); });
    }

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        m_dir = std::make_unique<TempDir>();
        std::filesystem::create_directories(m_dir->Path() / "unknown");
        m_unknown = (m_dir->Path() / "unknown" / "probe.ChromLibEntry").string();
        WriteTestEntry(m_unknown, 12, 20, "Probe");
    }
    void cleanup()
    {
        m_dir.reset();
        m_env.reset();
    }

    void searchFillsAndSortsTheList()
    {
        const std::string library = MakeTestLibrary(*m_dir, "lib", 40, 20, true);
        CLibraryManagerSheet sheet;
        sheet.Options().SearchSubfolders = 1;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));

        const CReportTable& table = page->HitList()->Table();
        QCOMPARE(table.RowCount(), 41);
        QVERIFY(IsDescending(ColumnValues(table, kHitListForwardColumn)));
        QCOMPARE(page->PeakCountText, std::string("20"));
        QCOMPARE(page->SampleNameText, std::string("Probe"));
        // The entry most like the unknown (same family) comes first.
        QCOMPARE(table.Cell(0, 0).substr(0, 7), std::string("entry00"));
        bool sawSubfolder = false;
        for (int r = 0; r < table.RowCount(); ++r)
            sawSubfolder |= table.Cell(r, 0) == "./sub/deep.ChromLibEntry";
        QVERIFY(sawSubfolder);
        QVERIFY(!page->ResultsSaved());
        // The header marks the sort column with its direction.
        QHeaderView* header = page->HitList()->header();
        QCOMPARE(header->sortIndicatorSection(), kHitListForwardColumn);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

        // A click on "File" sorts ascending as text ignoring case.
        page->OnColumnClick(0);
        for (int r = 1; r < table.RowCount(); ++r)
            QVERIFY(QString::compare(ToQString(table.Cell(r - 1, 0)), ToQString(table.Cell(r, 0)),
                                     Qt::CaseInsensitive) <= 0);
        QCOMPARE(header->sortIndicatorSection(), 0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        // "nPeaks Forward" sorts by the number before the slash, descending.
        page->OnColumnClick(5);
        QVERIFY(IsDescending(ColumnValues(table, 5)));
    }

    void printMenuItemFollowsTheList()
    {
        const std::string library = MakeTestLibrary(*m_dir, "lib", 2, 5);
        CLibraryManagerSheet sheet;
        sheet.show();
        QAction* print = sheet.MenuAction(QStringLiteral("Library Search Results ..."));
        QVERIFY(print);
        sheet.UpdateMenuItems();
        QVERIFY(!print->isEnabled()); // no rows yet
        QVERIFY(Search(sheet.LibrarySearchPage(), m_unknown, library));
        sheet.UpdateMenuItems();
        QVERIFY(print->isEnabled());
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::ChromatogramAdd));
        sheet.UpdateMenuItems();
        QVERIFY(!print->isEnabled()); // only while the search page is active
        QVERIFY(!sheet.MenuAction(QStringLiteral("Match Matrix ..."))->isEnabled());
        QVERIFY(sheet.MenuAction(QStringLiteral("&Options ..."))->isEnabled());
    }

    void firstStartShowsEveryColumnWithItsWholeHeader()
    {
        CLibraryManagerSheet sheet;
        QHeaderView* header = sheet.LibrarySearchPage()->HitList()->header();
        QCOMPARE(header->count(), kHitListColumns);
        for (int c = 0; c < kHitListColumns; ++c) {
            QVERIFY(!header->isSectionHidden(c));
            QVERIFY(header->sectionSize(c) > header->fontMetrics().horizontalAdvance(ToQString(kHitListHeaders[c])));
        }
    }

    void openingAParameterFileFromTheMenuRefreshesThePages()
    {
        CLibraryManagerSheet sheet;
        CSearchOptions method;
        method.MSMatching = 0;
        method.AreaMatching = 1;
        const std::string spf = (m_dir->Path() / "method.spf").string();
        QVERIFY(WriteParameterFile(method, spf));
        SetFileChoiceHook([&](const CFileChoice& request) {
            return CFileChoiceResult{request.kind == CFileChoice::Open ? ToQString(spf) : QString(), 1};
        });
        sheet.OnOpenParameterFile();
        SetFileChoiceHook({});
        QCOMPARE(sheet.Options().MSMatching, 0);
        QList<QCheckBox*> boxes = sheet.LibrarySearchPage()->findChildren<QCheckBox*>();
        QCOMPARE(boxes[0]->text(), QStringLiteral("MS matching"));
        QVERIFY(!boxes[0]->isChecked());
        QCOMPARE(boxes[3]->text(), QStringLiteral("Area matching"));
        QVERIFY(boxes[3]->isChecked());
    }

    void noLibraryFolderIsRefused()
    {
        // An empty folder would become "/" and walk the whole file system.
        CLibraryManagerSheet sheet;
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        page->Session.UnknownPath = m_unknown;
        page->Session.LibraryFolder.clear();
        page->RefreshControls();
        page->OnSearch();
        QVERIFY(!page->IsRunning());
        QCOMPARE(m_env->Recorder().Texts(), (std::vector<std::string>{"Please choose a library folder first."}));
        QCOMPARE(page->HitList()->Table().RowCount(), 0);
    }

    void unreadableUnknownGivesItsRow()
    {
        const std::string library = MakeTestLibrary(*m_dir, "lib", 2, 5);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        const std::string missing = (m_dir->Path() / "missing.ChromLibEntry").string();
        QVERIFY(Search(page, missing, library));
        const std::string text = "Error reading from Chromatogram file '" + missing + "'";
        QCOMPARE(page->HitList()->Table().RowCount(), 1);
        QCOMPARE(page->HitList()->Table().Cell(0, 0), text);
        QVERIFY(WaitFor([&] { return !m_env->Recorder().Texts().empty(); }, 2000));
        QCOMPARE(m_env->Recorder().Texts().size(), std::size_t(1));
        QVERIFY(m_env->Recorder().Texts().back().rfind(text + "\n", 0) == 0); // and the reader's reason
        QVERIFY(page->ResultsSaved());                                        // nothing was searched
    }

    void unknownWithTooManyPeaksGivesTheWarningRow()
    {
        m_env->Settings().WriteSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "MaxPeaks", 10);
        const std::string library = MakeTestLibrary(*m_dir, "lib", 2, 5);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));
        const CReportTable& table = page->HitList()->Table();
        QCOMPARE(table.RowCount(), 1);
        QCOMPARE(table.Cell(0, 0), m_unknown);
        QCOMPARE(table.Cell(0, 1),
                 "Warning: Unknown file " + m_unknown + " has 20 peaks which are too many to be comparable!");
        QVERIFY(table.Width(1) > 40); // auto-sized to the text
        QVERIFY(WaitFor([&] { return !m_env->Recorder().Texts("beep").empty(); }, 2000));
    }

    void browseReopensAfterAnUnreadablePick()
    {
        CLibraryManagerSheet sheet;
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        const std::string bad = (m_dir->Path() / "unknown" / "broken.ChromLibEntry").string();
        WriteAllText(bad, "not an entry");
        std::vector<QString> picks{ToQString(bad), ToQString(m_unknown)};
        std::vector<CFileChoice> requests;
        SetFileChoiceHook([&](const CFileChoice& request) {
            requests.push_back(request);
            const QString path = picks.empty() ? QString() : picks.front();
            if (!picks.empty())
                picks.erase(picks.begin());
            return CFileChoiceResult{path, 2};
        });
        page->OnBrowse();
        SetFileChoiceHook({});
        QCOMPARE(requests.size(), std::size_t(2));
        QCOMPARE(
            requests[0].filter,
            std::string(
                "Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry|All known file types|*.ChromLibEntry;||"));
        // One message for the bad pick: the page's text with the reader's reason on a line of its own.
        QCOMPARE(m_env->Recorder().Texts().size(), std::size_t(1));
        QVERIFY(m_env->Recorder().entries.back().text.rfind("'" + bad + "' could not be read.\n", 0) == 0);
        QCOMPARE(m_env->Recorder().entries.back().caption, std::string("File Read Error"));
        QCOMPARE(page->Session.UnknownPath, m_unknown);
        QCOMPARE(page->SampleNameText, std::string("Probe"));
        QCOMPARE(m_env->Settings().GetSettingInt(SettingsScope::CurrentUser, "Corvelinscope", nullptr,
                                                 "Last FileType Index", -1),
                 2);
    }

    void stopKeepsTheRowsFoundSoFarAndLeavingIsRefused()
    {
        const int count = 300;
        const std::string library = MakeTestLibrary(*m_dir, "big", count, 40);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        page->Session.UnknownPath = m_unknown;
        page->Session.LibraryFolder = library;
        // The search holds after its first row until it is stopped, so the test acts while it runs however
        // fast the machine is.
        std::atomic<bool> firstRowHeld{false};
        page->RowDeliveredHook = [&firstRowHeld](const std::atomic<bool>& running) {
            if (firstRowHeld.exchange(true))
                return;
            // Until the stop (or a minute, so a page that never stops fails instead of hanging).
            const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (running.load() && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        page->RefreshControls();
        page->OnSearch();
        QVERIFY(page->IsRunning());
        QVERIFY(WaitFor([page] { return page->HitList()->Table().RowCount() >= 1 || !page->IsRunning(); }));
        QVERIFY2(page->IsRunning(), "the search ended before it could be stopped");

        // While searching: other pages refuse, OK and Cancel only beep, the inputs are disabled.
        m_env->Recorder().entries.clear();
        QVERIFY(!sheet.ActivatePage(CLibraryManagerSheet::MatchMatrix));
        QCOMPARE(sheet.ActivePage(), static_cast<CMainPage*>(page));
        sheet.accept();
        sheet.reject();
        sheet.OnExit();
        QVERIFY(sheet.isVisible());
        QCOMPARE(Kinds(m_env->Recorder()), (std::vector<std::string>{"beep", "beep", "beep", "beep"}));
        QVERIFY(!page->findChild<QCheckBox*>()->isEnabled());
        // The interface thread stays responsive: events are processed while the worker runs.
        bool timerFired = false;
        QTimer::singleShot(10, [&] { timerFired = true; });
        QVERIFY(WaitFor([&] { return timerFired; }, 2000));

        page->OnStopSearch();
        QVERIFY(WaitFor([page] { return !page->IsRunning(); }));
        const CReportTable& table = page->HitList()->Table();
        QVERIFY(table.RowCount() > 0);
        QVERIFY2(table.RowCount() < count, "stopping did not end the scan early");
        QVERIFY(IsDescending(ColumnValues(table, kHitListForwardColumn)));
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::MatchMatrix));
    }

    void exitQuestionsAfterASearch()
    {
        const std::string library = MakeTestLibrary(*m_dir, "lib", 5, 10);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));
        RecordingMessageSink& recorder = m_env->Recorder();

        // OK asks about the unsaved results; Cancel stays open.
        recorder.entries.clear();
        recorder.answers = {MessageAnswer::Cancel};
        sheet.accept();
        QVERIFY(sheet.isVisible());
        QCOMPARE(recorder.Texts("yesnocancel"),
                 (std::vector<std::string>{
                     "Your results have not been saved.\nDo you want to save the search results before exiting now?"}));

        // Cancel asks "Exit without saving your results?"; No stays open.
        recorder.entries.clear();
        recorder.answers = {MessageAnswer::No};
        sheet.reject();
        QVERIFY(sheet.isVisible());
        QCOMPARE(recorder.Texts("yesno"), (std::vector<std::string>{"Exit without saving your results?"}));

        // "E&xit" closes at once without a question.
        recorder.entries.clear();
        sheet.OnExit();
        QVERIFY(!sheet.isVisible());
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QVERIFY(recorder.entries.empty());
    }

    void okSavesWhenAskedAndCancelAfterSavingAsksNothing()
    {
        const std::string library = MakeTestLibrary(*m_dir, "lib", 5, 10);
        {
            CLibraryManagerSheet sheet;
            sheet.show();
            QVERIFY(Search(sheet.LibrarySearchPage(), m_unknown, library));
            m_env->Recorder().answers = {MessageAnswer::Yes};
            sheet.accept();
            QVERIFY(!sheet.isVisible());
            QVERIFY(!FindCsv(m_dir->Path() / "unknown").empty());
        }
        CLibraryManagerSheet sheet;
        sheet.show();
        QVERIFY(Search(sheet.LibrarySearchPage(), m_unknown, library));
        sheet.LibrarySearchPage()->OnSaveReportFile();
        QVERIFY(sheet.LibrarySearchPage()->ResultsSaved());
        m_env->Recorder().entries.clear();
        sheet.reject();
        QVERIFY(!sheet.isVisible());
        QVERIFY(m_env->Recorder().entries.empty());
    }

    void hiddenOverlayTabRefusesInternalOverlay()
    {
        m_env->Settings().WriteSettingInt(SettingsScope::LocalMachine, "Corvelinscope", nullptr, "ShowPageOverlay", 0);
        const std::string library = MakeTestLibrary(*m_dir, "lib", 3, 10);
        CLibraryManagerSheet sheet;
        sheet.show();
        auto* tabs = sheet.findChild<QTabWidget*>();
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles << tabs->tabText(i);
        QCOMPARE(titles,
                 (QStringList{QStringLiteral("Library Search"), QStringLiteral("Match Matrix"),
                              QStringLiteral("Add Chromatogram"), QStringLiteral("Chromatogram Match"),
                              QStringLiteral("Peak Match Table"), QStringLiteral("Multiple Chromatogram Peak List")}));
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));
        page->HitList()->SelectRows({0});
        m_env->Recorder().entries.clear();
        page->OnInternalOverlay();
        QCOMPARE(m_env->Recorder().entries.size(), std::size_t(1));
        QCOMPARE(m_env->Recorder().entries[0].text,
                 std::string("The Overlay Plot has been disabled.\nUse the options to enable the page."));
        QCOMPARE(m_env->Recorder().entries[0].caption, std::string("User Error"));

        // Three selected rows: the count message comes first.
        page->HitList()->SelectRows({0, 1, 2});
        m_env->Recorder().entries.clear();
        page->OnInternalOverlay();
        QCOMPARE(
            m_env->Recorder().Texts(),
            (std::vector<std::string>{"The 'Internal Overlay' function is to be used for excatly two chromatograms!"}));
    }

    // The pairs a page hands over: one row pairs the unknown with it (overlay: the entry first), two rows pair
    // them in selection order (overlay: the second first); a refused hand-off says the page is not available.
    void handOffsGoThroughTheHostWithTheSelectedPair()
    {
        CSearchOptions options;
        CPageLibrarySearch page(options);
        RecordingPageHost host;
        page.SetHost(&host);
        page.Session.UnknownPath = "/u/probe.ChromLibEntry";
        page.Session.LibraryFolder = "/lib/";
        page.HitList()->Table().AddRow({"a.ChromLibEntry"});
        page.HitList()->Table().AddRow({"./sub/b.ChromLibEntry"});

        page.HitList()->SelectRows({1});
        page.OnDisplayMatch();
        page.OnBuildMatrix();
        page.OnInternalOverlay();
        page.HitList()->SelectRows({0, 1});
        page.OnDisplayMatch();
        page.OnInternalOverlay();
        const std::string a = "/lib/a.ChromLibEntry", b = "/lib/./sub/b.ChromLibEntry", u = "/u/probe.ChromLibEntry";
        QCOMPARE(host.calls,
                 (std::vector<std::vector<std::string>>{
                     {"match", u, b}, {"matrix", u, b}, {"overlay", b, u}, {"match", a, b}, {"overlay", b, a}}));
        QVERIFY(m_env->Recorder().entries.empty());

        host.answer = PageHandOff::Missing;
        page.OnBuildMatrix();
        QCOMPARE(m_env->Recorder().entries.size(), std::size_t(1));
        QCOMPARE(m_env->Recorder().entries[0].caption, std::string("Corvelinscope"));
        host.answer = PageHandOff::Disabled;
        page.OnInternalOverlay();
        QCOMPARE(m_env->Recorder().entries.back().text,
                 std::string("The Overlay Plot has been disabled.\nUse the options to enable the page."));
    }

    void contextMenuEnabling_data()
    {
        QTest::addColumn<std::vector<int>>("selection");
        // open, match, matrix, peak match table, overlay, internal, arrangement
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("none") << std::vector<int>{} << QList<bool>{false, false, false, false, false, false, true};
        QTest::newRow("one") << std::vector<int>{0} << QList<bool>{true, true, true, true, true, true, true};
        QTest::newRow("two") << std::vector<int>{0, 1} << QList<bool>{false, true, true, true, false, true, true};
        QTest::newRow("three") << std::vector<int>{0, 1, 2}
                               << QList<bool>{false, false, false, false, false, false, true};
    }
    void contextMenuEnabling()
    {
        QFETCH(std::vector<int>, selection);
        QFETCH(QList<bool>, enabled);
        const std::string library = MakeTestLibrary(*m_dir, "lib", 3, 10);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));
        page->HitList()->SelectRows(selection);
        std::unique_ptr<QMenu> menu(page->CreateContextMenu());
        QList<bool> actual;
        for (QAction* action : menu->actions())
            actual << action->isEnabled();
        QCOMPARE(actual, enabled);
        QCOMPARE(menu->defaultAction()->text(), QStringLiteral("Open Chromatogram in Data System"));
    }

    void hiddenColumnIsLeftOutOfCsvAndPrint()
    {
        // A stored arrangement showing File, Foward, S.Name (in this order) and Reverse; "Comment" is hidden.
        MemorySettingsStore& settings = m_env->Settings();
        const int shown[] = {0, 3, 1, 4};
        settings.WriteSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "UsedColumnCount", 4);
        for (int i = 0; i < 4; ++i) {
            settings.WriteSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr,
                                     ("Column" + std::to_string(i)).c_str(), shown[i]);
            settings.WriteSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr,
                                     ("ColumnWidth" + std::to_string(i)).c_str(), 60 + i);
        }
        const std::string library = MakeTestLibrary(*m_dir, "lib", 4, 10);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        QVERIFY(Search(page, m_unknown, library));
        QVERIFY(page->HitList()->header()->isSectionHidden(2));
        QCOMPARE(page->HitList()->header()->sectionSize(3), 61);

        page->OnSaveReportFile();
        const std::string csv = ReadAllText(FindCsv(m_dir->Path() / "unknown"));
        // The CSV keeps the column index order.
        QVERIFY(csv.find("\"File\",\"S.Name\",\"Foward\",\"Reverse\",\r\n") != std::string::npos);
        QVERIFY(csv.find("Comment") == std::string::npos);

        // The print follows the on-screen order and leaves the hidden column out.
        CPrintPlan plan = LayoutLibrarySearchReport(CPaperMetrics{}, CPageLayoutSettings{}, {}, sheet.Options(),
                                                    page->HitList()->Table());
        QStringList headers;
        for (const CPrintItem& item : plan.Items)
            if (item.Bold && !item.Wrap)
                headers << item.Text;
        QCOMPARE(headers, (QStringList{QStringLiteral("File"), QStringLiteral("Foward"), QStringLiteral("S.Name"),
                                       QStringLiteral("Reverse")}));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
    std::unique_ptr<TempDir> m_dir;
    std::string m_unknown;
};

CORVELIN_GUI_TEST_MAIN(LibrarySearchTest)
#include "tst_LibrarySearch.moc"
