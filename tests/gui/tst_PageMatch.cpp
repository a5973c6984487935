// The "Chromatogram Match" page: reading two files into the match plot, the similar-names question, the read
// error, the last paths kept for the run, and the hand-off from a library search result.
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <set>

#include "engine/options/SearchOptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/views/ChromatogramMatch.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageMatch.h"
#include "gui/pages/PlotToolBar.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatchControl.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class PageMatchTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        m_dir = std::make_unique<TempDir>();
    }
    void cleanup()
    {
        SetFileChoiceHook({});
        m_dir.reset();
        m_env.reset();
    }

    void similarNamesAreQuestioned_data()
    {
        QTest::addColumn<QString>("thisName");
        QTest::addColumn<QString>("otherName");
        QTest::addColumn<bool>("asked");
        QTest::newRow("run1 / RUN10") << QStringLiteral("run1") << QStringLiteral("RUN10") << true;
        QTest::newRow("run1 / run2") << QStringLiteral("run1") << QStringLiteral("run2") << false;
    }
    void similarNamesAreQuestioned()
    {
        QFETCH(QString, thisName);
        QFETCH(QString, otherName);
        QFETCH(bool, asked);
        // Data-system names without an ending, one folder in two letter cases: the paths differ only in case up
        // to the shorter one's end. run2 lies beside run1 and is a library entry that can be read.
        const std::string a = Entry("data/" + thisName.toStdString(), 1);
        const std::string aShort = a.substr(0, a.size() - std::string(".ChromLibEntry").size());
        const std::string b = asked ? (m_dir->Path() / "DATA" / otherName.toStdString()).string()
                                    : Entry("data/" + otherName.toStdString(), 2);
        if (asked)
            std::filesystem::rename(a, aShort);
        const std::string first = asked ? aShort : a;
        CSearchOptions options;
        CPageMatch page(options);
        m_env->Recorder().answers = {MessageAnswer::No};
        QCOMPARE(page.ShowMatch(first, b), !asked);
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QCOMPARE(m_env->Recorder().Texts("yesno").size(), std::size_t(asked ? 1 : 0));
        if (asked) {
            QCOMPARE(m_env->Recorder().entries[0].text,
                     "The file names\n'" + first + "' and\n'" + b +
                         "'\n are very similar or identical.\n\nAre you sure you like to see the match?");
            QCOMPARE(m_env->Recorder().entries[0].caption, std::string("Warning"));
            QVERIFY(!page.MatchPlot().HasData());
        } else {
            QVERIFY(page.MatchPlot().HasData());
        }
    }

    void readErrorKeepsThePlot()
    {
        const std::string a = Entry("a", 1), b = Entry("b", 2);
        CSearchOptions options;
        CPageMatch page(options);
        QVERIFY(!page.ToolBar().MoveLeft()->isEnabled());
        QVERIFY(page.ShowMatch(a, b));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(page.ToolBar().MoveLeft()->isEnabled());
        QCOMPARE(page.MatchPlot().Plot(0).Model().Chromatogram(0).SourcePath, a);
        const std::size_t lines = page.MatchPlot().Lines().size();
        QVERIFY(lines > 0);

        const std::string broken = (m_dir->Path() / "broken.ChromLibEntry").string();
        WriteAllText(broken, "not an entry");
        m_env->Recorder().entries.clear();
        QVERIFY(page.ShowMatch(b, broken));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QCOMPARE(m_env->Recorder().Texts().size(), std::size_t(1));
        QVERIFY(m_env->Recorder().Texts().back().rfind("Error reading file " + broken + "\n", 0) == 0);
        QCOMPARE(m_env->Recorder().entries.back().caption, std::string("Corvelinscope"));
        QCOMPARE(page.MatchPlot().Plot(0).Model().Chromatogram(0).SourcePath, a);
        QCOMPARE(page.MatchPlot().Lines().size(), lines);
    }

    void selectFilesKeepsTheLastPathsForTheRun()
    {
        const std::string a = Entry("x/a", 1), b = Entry("y/b", 2);
        CSearchOptions options;
        std::vector<CFileChoice> asked;
        std::vector<QString> answers{QString::fromStdString(a), QString::fromStdString(b)};
        SetFileChoiceHook([&](const CFileChoice& request) {
            asked.push_back(request);
            CFileChoiceResult result;
            result.path = answers.empty() ? QString() : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            result.filterIndex = 2;
            return result;
        });
        {
            CPageMatch page(options);
            page.OnSelectFiles();
            QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
            QVERIFY(page.MatchPlot().HasData());
        }
        QCOMPARE(asked.size(), std::size_t(2));
        QCOMPARE(asked[1].filterIndex, 2);
        QCOMPARE(asked[0].defaultSuffix, QStringLiteral("ChromLibEntry"));
        // A new page starts from the paths chosen last; a cancelled first dialog ends the command.
        CPageMatch again(options);
        again.OnSelectFiles();
        QCOMPARE(asked.size(), std::size_t(3));
        QCOMPARE(asked[2].initialFile, QString::fromStdString(a));
        QCOMPARE(asked[2].initialFolder, QString::fromStdString((m_dir->Path() / "x").string()));
        QVERIFY(!again.MatchPlot().HasData());
    }

    // The colour scale above the plot: choosing another scheme there recolours every match line at once.
    void aSchemeChangeRecoloursTheMatchLines()
    {
        constexpr auto kMachine = SettingsScope::LocalMachine;
        WriteSettingInt(kMachine, "ColorSchemes", nullptr, "nColorSchemes", 2);
        WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme0", "Colors");
        WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme1", "Reds");
        WriteSettingInt(kMachine, "ColorSchemes", "Colors", "nColors", 1);
        WriteSettingString(kMachine, "ColorSchemes", "Colors", "Color0", "000000255");
        WriteSettingInt(kMachine, "ColorSchemes", "Reds", "nColors", 1);
        WriteSettingString(kMachine, "ColorSchemes", "Reds", "Color0", "200000000");
        const std::string a = Entry("a", 1), b = Entry("b", 2);
        CSearchOptions options;
        CPageMatch page(options);
        page.resize(800, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.ColourScale().geometry().bottom() < page.MatchPlot().geometry().top());
        QVERIFY(page.ShowMatch(a, b));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        const auto colours = [&page] {
            std::set<std::uint32_t> seen;
            for (const CMatchLinie& line : page.MatchPlot().Lines())
                seen.insert(line.Colour);
            return seen;
        };
        QVERIFY(!page.MatchPlot().Lines().empty());
        QCOMPARE(colours(), std::set<std::uint32_t>{0x0000ffu});
        page.ColourScale().OnSchemeCommand(CColorScale::kFirstSchemeCommand + 1);
        QCOMPARE(colours(), std::set<std::uint32_t>{0xc80000u});
    }

    // Reading and comparing run as a job: a "Stop" button until it ends; Stop leaves the plot as it was, and a
    // new pair while one is read or compared gets the lines of the new pair only.
    void compareIsAJobThatStopsAndRestarts()
    {
        const std::string a = Entry("a", 1), b = Entry("b", 2), c = Entry("c", 40);
        CSearchOptions options;
        CPageMatch page(options);
        page.show();
        QVERIFY(page.ShowMatch(a, b));
        QVERIFY(page.IsBusy());
        QVERIFY(page.StopButton()->isVisible());
        QVERIFY(page.MatchPlot().Lines().empty());
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        const std::size_t lines = page.MatchPlot().Lines().size();
        QVERIFY(lines > 0);
        QVERIFY(page.ShowMatch(a, c));
        QThread::msleep(200); // the job is likely done and its results on their way: Stop must still drop them
        page.StopButton()->click();
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(!page.StopButton()->isVisible());
        QCOMPARE(page.MatchPlot().Plot(1).Model().Chromatogram(0).SourcePath, b);
        QCOMPARE(page.MatchPlot().Lines().size(), lines);

        QVERIFY(page.ShowMatch(a, b));
        QVERIFY(page.ShowMatch(a, c));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        const CLibraryChromatogram& shown = page.MatchPlot().Plot(1).Model().Chromatogram(0);
        QCOMPARE(shown.SourcePath, c);
        QVERIFY(!page.MatchPlot().Lines().empty());
        for (const CMatchLinie& line : page.MatchPlot().Lines())
            QCOMPARE(line.OtherPeak, shown.Peaks[line.OtherIndex].get());
        QCOMPARE(page.MatchPlot().Cells(), CompareForMatchPlot(page.This(), page.Other(), options).Cells);
    }

    void libraryHitsReachThePage()
    {
        const std::string unknown = Entry("unknown/probe", 12);
        const std::string library = MakeTestLibrary(*m_dir, "lib", 3, 12);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* search = sheet.LibrarySearchPage();
        search->Session.UnknownPath = unknown;
        search->Session.LibraryFolder = library;
        search->RefreshControls();
        search->OnSearch();
        QVERIFY(WaitFor([search] { return !search->IsRunning(); }));
        search->HitList()->SelectRows({0, 1});
        search->OnDisplayMatch();
        auto* page = dynamic_cast<CPageMatch*>(sheet.Page(CLibraryManagerSheet::ChromatogramMatch));
        QVERIFY(page != nullptr);
        QCOMPARE(sheet.ActivePage(), static_cast<CMainPage*>(page));
        QVERIFY(WaitFor([page] { return !page->IsBusy(); }));
        QVERIFY(page->MatchPlot().HasData());
        QVERIFY(page->MatchPlot().Plot(0).Model().Chromatogram(0).SourcePath.rfind(library, 0) == 0);
    }

private:
    std::string Entry(const std::string& name, int seed)
    {
        const std::filesystem::path path = m_dir->Path() / (name + ".ChromLibEntry");
        std::filesystem::create_directories(path.parent_path());
        WriteTestEntry(path.string(), seed, 12, name);
        return path.string();
    }

    std::unique_ptr<GuiTestEnvironment> m_env;
    std::unique_ptr<TempDir> m_dir;
};

CORVELIN_GUI_TEST_MAIN(PageMatchTest)
#include "tst_PageMatch.moc"
