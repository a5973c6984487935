#include <gtest/gtest.h>

#include <map>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibrarySearch.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

std::unique_ptr<CLibraryChromatogram> Chromatogram(const std::string& name, int peaks, double shift)
{
    auto c = std::make_unique<CLibraryChromatogram>();
    c->SampleName = name;
    c->DataFile = name + ".raw";
    for (int i = 0; i < peaks; ++i) {
        auto& p = c->AddPeak();
        p.RT = 1.0 + i + shift;
        p.StartRT = p.RT - 0.05;
        p.EndRT = p.RT + 0.05;
        p.Area = 100.0 + 10 * i;
        p.Height = 10;
        p.RI = 800 + 100 * p.RT;
        p.Spectrum.Append(CLibraryMassSpectrumPoint(50.0 + i, 100));
        p.Spectrum.Append(CLibraryMassSpectrumPoint(90.0 + 2 * i, 40));
        p.Spectrum.ApplyWeighting();
        c->TotalArea += p.Area;
        c->TotalHeight += p.Height;
    }
    return c;
}

class LibrarySearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto plugins = std::make_unique<CDatasystemPlugins>();
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ENTRY_READER, true);
        plugin->Name = "Corvelinscope Library Entry";
        plugin->Extension = ".ChromLibEntry";
        plugins->Append(std::move(plugin));
        m_previous = SetDatasystemPlugins(std::move(plugins));
        m_lib = m_dir.File("lib");
        m_unknown = m_dir.File("unknown.ChromLibEntry");
        Chromatogram("U", 4, 0)->SaveEntry(m_unknown);
        fs::create_directories(m_lib + "/b/deeper");
        fs::create_directories(m_lib + "/a");
        Chromatogram("E1", 4, 0.01)->SaveEntry(m_lib + "/e1.ChromLibEntry");
        Chromatogram("E2", 4, 0.02)->SaveEntry(m_lib + "/E2.chromlibentry");
        Chromatogram("E3", 3, 0.03)->SaveEntry(m_lib + "/b/e3.ChromLibEntry");
        Chromatogram("E4", 4, 0.04)->SaveEntry(m_lib + "/b/deeper/e4.ChromLibEntry");
        Chromatogram("E5", 4, 0.05)->SaveEntry(m_lib + "/a/e5.ChromLibEntry");
        Chromatogram("E6", 4, 0.06)->SaveEntry(m_lib + "/b/e6.ChromLibEntry");
        WriteAllText(m_lib + "/notes.txt", "x");
        fs::create_directory_symlink(m_lib, m_lib + "/b/loop");
    }
    void TearDown() override { SetDatasystemPlugins(std::move(m_previous)); }

    CLibrarySearchResult Search(int threads, std::vector<std::vector<std::string>>& rows, std::vector<int>& progress,
                                std::atomic<bool>& running, int stopAfter = -1)
    {
        CLibrarySearchRequest request{m_unknown, m_lib, 200, threads};
        CLibrarySearchCallbacks callbacks;
        callbacks.Progress = [&](int p) { progress.push_back(p); };
        callbacks.Row = [&](std::vector<std::string> cells) {
            rows.push_back(std::move(cells));
            if (static_cast<int>(rows.size()) == stopAfter)
                running = false;
        };
        return SearchLibrary(request, m_options, running, callbacks);
    }

    TempDir m_dir;
    std::string m_lib;
    std::string m_unknown;
    CSearchOptions m_options;
    std::unique_ptr<CDatasystemPlugins> m_previous;
};

TEST_F(LibrarySearch, ListsEntriesInScanOrderWithRelativePrefixes)
{
    const auto files = ListLibraryEntries(m_lib, true);
    std::vector<std::string> cells;
    std::vector<int> positions;
    for (const auto& f : files) {
        cells.push_back(f.FileCell);
        positions.push_back(f.PositionInFolder);
        EXPECT_TRUE(fs::exists(f.Path)) << f.Path;
    }
    EXPECT_EQ(cells, (std::vector<std::string>{"E2.chromlibentry", "e1.ChromLibEntry", "./a/e5.ChromLibEntry",
                                               "./b/e3.ChromLibEntry", "./b/e6.ChromLibEntry",
                                               "./b/deeper/e4.ChromLibEntry"}));
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 1, 1, 2, 1}));
    EXPECT_EQ(ListLibraryEntries(m_lib + "/", false).size(), 2u);
    EXPECT_TRUE(ListLibraryEntries(m_dir.File("nothing-here"), true).empty());
}

// Items named like entries that are no readable file are not passed over in silence: each gets a warning row
// naming what it is; a link to an entry is read like the entry.
TEST_F(LibrarySearch, ItemsNamedLikeEntriesThatAreNoFilesGetWarningRows)
{
    const std::string lib = m_dir.File("odd");
    fs::create_directories(lib + "/dir.ChromLibEntry");
    fs::create_symlink(lib + "/gone", lib + "/broken.ChromLibEntry");
    fs::create_symlink(lib + "/loop.ChromLibEntry", lib + "/loop.ChromLibEntry");
    fs::create_symlink(m_lib + "/e1.ChromLibEntry", lib + "/link.ChromLibEntry");
    fs::create_symlink("/dev/null", lib + "/null.ChromLibEntry");
    CReportTable hits;
    SetUpHitListColumns(hits);
    std::atomic<bool> running{true};
    CLibrarySearchRequest request{m_unknown, lib, 200, 1};
    SearchLibraryIntoHitList(request, m_options, running, hits);
    std::map<std::string, std::string> sampleCells;
    for (int r = 0; r < hits.RowCount(); ++r)
        sampleCells[hits.Cell(r, 0)] = hits.Cell(r, 1);
    ASSERT_EQ(sampleCells.size(), 5u);
    EXPECT_EQ(sampleCells["dir.ChromLibEntry"],
              "Warning: Library File dir.ChromLibEntry is not a file (a folder) and was skipped!");
    EXPECT_NE(sampleCells["broken.ChromLibEntry"].find("(a broken symbolic link)"), std::string::npos);
    EXPECT_NE(sampleCells["loop.ChromLibEntry"].find("(a looping symbolic link)"), std::string::npos);
    EXPECT_NE(sampleCells["null.ChromLibEntry"].find("(a device)"), std::string::npos);
    EXPECT_EQ(sampleCells["link.ChromLibEntry"], "E1");
}

int ThreadsOfThisProcess()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Threads:", 0) == 0)
            return std::stoi(line.substr(8));
    return -1;
}

// A row callback that throws ends the search with its exception: the workers, some of them waiting for room
// ahead of the delivery, are stopped and joined (a joinable thread left behind would terminate the program).
TEST_F(LibrarySearch, AThrowingRowCallbackEndsTheSearchWithEveryWorkerJoined)
{
    for (int i = 0; i < 40; ++i)
        Chromatogram(std::string("F").append(std::to_string(i)), 4, 0.001 * i)
            ->SaveEntry(m_lib + "/f" + std::to_string(i) + ".ChromLibEntry");
    const int threadsBefore = ThreadsOfThisProcess();
    for (int throwAt : {1, 2, 30}) {
        CLibrarySearchRequest request{m_unknown, m_lib, 200, 3};
        CLibrarySearchCallbacks callbacks;
        int rows = 0;
        callbacks.Row = [&](std::vector<std::string>) {
            if (++rows == throwAt)
                throw std::runtime_error("row refused");
        };
        std::atomic<bool> running{true};
        EXPECT_THROW(SearchLibrary(request, m_options, running, callbacks), std::runtime_error);
        EXPECT_EQ(rows, throwAt);
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore) << "throw at row " << throwAt;
    }
}

TEST_F(LibrarySearch, ParallelRowsEqualSingleThreadedRows)
{
    m_options.SearchSubfolders = 1;
    std::vector<std::vector<std::string>> single, parallel;
    std::vector<int> p1, p2;
    std::atomic<bool> r1{true}, r2{true};
    const auto a = Search(1, single, p1, r1);
    const auto b = Search(3, parallel, p2, r2);
    EXPECT_EQ(a.End, LibrarySearchEnd::Completed);
    EXPECT_EQ(a.EntryCount, 6);
    EXPECT_EQ(a.RowCount, 6);
    EXPECT_EQ(single, parallel);
    EXPECT_EQ(p1, p2);
    EXPECT_FALSE(r1.load());
    EXPECT_EQ(a.Unknown.PeakCountText, " 4");
    EXPECT_EQ(a.Unknown.SampleName, "U");
    EXPECT_EQ(a.Unknown.DataSystemName.rfind("Corvelinscope", 0), 0u);
    EXPECT_EQ(single[0][0], "E2.chromlibentry");
    EXPECT_EQ(single[0].size(), 17u);
    EXPECT_EQ(single[3][5], " 3/ 4");
}

TEST_F(LibrarySearch, StopEndsAfterTheEntriesInProgressAndKeepsAPrefix)
{
    m_options.SearchSubfolders = 1;
    std::vector<std::vector<std::string>> all, rows;
    std::vector<int> p0, p1;
    std::atomic<bool> r0{true}, r1{true};
    Search(1, all, p0, r0);
    // One thread stops right after the entry it was on.
    auto result = Search(1, rows, p1, r1, 2);
    EXPECT_EQ(result.End, LibrarySearchEnd::Stopped);
    EXPECT_EQ(rows, std::vector<std::vector<std::string>>(all.begin(), all.begin() + 2));
    // Several threads finish the entries they had taken: the rows are still a prefix of the scan.
    rows.clear();
    r1 = true;
    result = Search(3, rows, p1, r1, 2);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), all.begin()));
    EXPECT_EQ(result.End, rows.size() < all.size() ? LibrarySearchEnd::Stopped : LibrarySearchEnd::Completed);
    std::atomic<bool> stopped{false};
    rows.clear();
    EXPECT_EQ(Search(2, rows, p1, stopped).RowCount, 0);
}

TEST_F(LibrarySearch, AStopWhileTheReceiverIsBusyEndsAFewEntriesLater)
{
    // The workers stay a few entries ahead of the delivery: while the receiver of the first row is busy they
    // do not take the rest of the library, so a stop then ends the scan soon after.
    for (int i = 0; i < 60; ++i)
        Chromatogram(std::string("F").append(std::to_string(i)), 4, 0.001 * i)
            ->SaveEntry(m_lib + "/f" + std::to_string(100 + i) + ".ChromLibEntry");
    CLibrarySearchRequest request{m_unknown, m_lib, 200, 2};
    std::atomic<bool> running{true};
    int rows = 0;
    CLibrarySearchCallbacks callbacks;
    callbacks.Row = [&](std::vector<std::string>) {
        if (++rows == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            running = false;
        }
    };
    const CLibrarySearchResult result = SearchLibrary(request, m_options, running, callbacks);
    EXPECT_EQ(result.End, LibrarySearchEnd::Stopped);
    EXPECT_LE(rows, 1 + 4 * 2); // the first row and at most the look-ahead of two workers
}

TEST_F(LibrarySearch, EntriesOverMaxPeaksAndUnreadableEntriesGiveWarningRows)
{
    WriteAllText(m_lib + "/broken.ChromLibEntry", "garbage");
    Chromatogram("Big", 5, 0)->SaveEntry(m_lib + "/big.ChromLibEntry");
    RecordingMessageSink sink;
    CLibrarySearchRequest request{m_unknown, m_lib, 4, 2};
    std::vector<std::vector<std::string>> rows;
    CLibrarySearchCallbacks callbacks;
    callbacks.Row = [&](std::vector<std::string> cells) { rows.push_back(std::move(cells)); };
    std::atomic<bool> running{true};
    SearchLibrary(request, m_options, running, callbacks);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{
                           "big.ChromLibEntry", "Warning: Library File Big.raw has too many peaks to be comparable!"}));
    EXPECT_EQ(rows[2][0], "broken.ChromLibEntry");
    EXPECT_EQ(rows[2][1], "Warning: Library File broken.ChromLibEntry could not be read!");
    EXPECT_EQ(sink.Texts("beep").size(), 1u);
}

TEST_F(LibrarySearch, HitListIsSortedAndSaysWhenEmpty)
{
    ScopedMemorySettings settings;
    CReportTable table;
    SetUpHitListColumns(table);
    EXPECT_EQ(table.VisibleColumnsByIndex().size(), 17u); // first start: every column shown
    std::atomic<bool> running{true};
    CLibrarySearchRequest request{m_unknown, m_lib, 200, 0};
    m_options.SearchSubfolders = 1;
    SearchLibraryIntoHitList(request, m_options, running, table);
    ASSERT_EQ(table.RowCount(), 6);
    for (int r = 1; r < table.RowCount(); ++r)
        EXPECT_GE(std::stod(table.Cell(r - 1, 3)), std::stod(table.Cell(r, 3)));
    EXPECT_EQ(table.Cell(0, 0), "e1.ChromLibEntry");

    fs::create_directories(m_dir.File("empty"));
    request.LibraryFolder = m_dir.File("empty");
    running = true;
    SearchLibraryIntoHitList(request, m_options, running, table);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.EmptyText(), "No data in library");
}

TEST_F(LibrarySearch, UnknownFailuresBecomeTheOnlyRow)
{
    ScopedMemorySettings settings;
    RecordingMessageSink sink;
    CReportTable table;
    SetUpHitListColumns(table);
    table.AddRow({"old row"});
    std::atomic<bool> running{true};
    CLibrarySearchRequest request{m_dir.File("none.ChromLibEntry"), m_lib, 200, 0};
    auto result = SearchLibraryIntoHitList(request, m_options, running, table);
    EXPECT_EQ(result.End, LibrarySearchEnd::UnknownUnreadable);
    EXPECT_FALSE(running.load());
    ASSERT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cell(0, 0), "Error reading from Chromatogram file '" + m_dir.File("none.ChromLibEntry") + "'");
    const std::vector<std::string> messages = sink.Texts();
    ASSERT_EQ(messages.size(), 1u); // with the reader's reason on a line of its own
    EXPECT_EQ(messages[0].rfind(table.Cell(0, 0) + "\n", 0), 0u);

    request = {m_unknown, m_lib, 3, 0};
    running = true;
    result = SearchLibraryIntoHitList(request, m_options, running, table, {},
                                      [](const std::string& s) { return static_cast<int>(s.size()); });
    EXPECT_EQ(result.End, LibrarySearchEnd::UnknownTooManyPeaks);
    ASSERT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cell(0, 1),
              "Warning: Unknown file " + m_unknown + " has  4 peaks which are too many to be comparable!");
    EXPECT_EQ(table.Width(1), static_cast<int>(table.Cell(0, 1).size()));
}

} // namespace
