// Many unknowns in one pass: each unknown's rows are those of a search of it alone, every entry file is read
// once, an unreadable unknown is left out without stopping the others, and shards split the scan by path hash.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/scaleout/UnknownsSearch.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScopedEntryReader.h"
#include "tests/support/SyntheticChromatogram.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

class UnknownsSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.File("lib/sub"));
        CSyntheticShape shape;
        shape.Peaks = 30;
        shape.Lines = 20;
        for (int i = 0; i < 24; ++i) {
            shape.Peaks = i == 5 ? 300 : 30; // one entry with more than MaxPeaks
            const std::string name = (i % 3 ? "lib/" : "lib/sub/") + std::to_string(i) + ".ChromLibEntry";
            MakeSyntheticChromatogram(shape, 100 + i % 8)->SaveEntry(m_dir.File(name)); // ties: 8 distinct entries
        }
        WriteAllText(m_dir.File("lib/broken.ChromLibEntry"), "not an entry");
        shape.Peaks = 30;
        for (int u = 0; u < 3; ++u)
            MakeSyntheticVariant(*MakeSyntheticChromatogram(shape, 100 + u), 7 + u, 0.02, 5)->SaveEntry(Unknown(u));
    }
    std::string Unknown(int u) const { return m_dir.File("u" + std::to_string(u) + ".ChromLibEntry"); }

    std::vector<std::vector<std::string>> Alone(const std::string& unknown)
    {
        std::vector<std::vector<std::string>> rows;
        CLibrarySearchCallbacks callbacks;
        callbacks.Row = [&](std::vector<std::string> cells) { rows.push_back(std::move(cells)); };
        std::atomic<bool> running{true};
        SearchLibrary({unknown, m_dir.File("lib/"), 200, 2}, m_options, running, callbacks);
        return rows;
    }

    TempDir m_dir;
    CSearchOptions m_options;
    RecordingMessageSink m_sink;
    ScopedEntryReader m_reader{CORVELIN_ENTRY_READER};
};

} // namespace

TEST_F(UnknownsSearch, EachUnknownGetsItsRowsAloneWhileEveryEntryIsReadOnce)
{
    m_options.SearchSubfolders = 1;
    CUnknownsSearchRequest request;
    request.UnknownPaths = {Unknown(0), m_dir.File("missing.ChromLibEntry"), Unknown(1), Unknown(2)};
    request.LibraryFolder = m_dir.File("lib/");
    request.Threads = 2;
    std::vector<std::vector<std::vector<std::string>>> rows(4);
    std::atomic<bool> running{true};
    const CUnknownsSearchResult result =
        SearchUnknowns(request, m_options, running, [&](std::size_t u, std::size_t, std::vector<std::string> cells) {
            rows[u].push_back(std::move(cells));
        });
    EXPECT_EQ(result.EntriesRead, 25); // 24 entries and the broken file, once each for three unknowns
    EXPECT_EQ(result.Unknowns[1].End, LibrarySearchEnd::UnknownUnreadable);
    EXPECT_TRUE(rows[1].empty());
    for (std::size_t u : {0u, 2u, 3u}) {
        EXPECT_EQ(result.Unknowns[u].End, LibrarySearchEnd::Completed);
        EXPECT_EQ(result.Unknowns[u].RowCount, 25);
        EXPECT_EQ(rows[u], Alone(request.UnknownPaths[u])) << request.UnknownPaths[u];
    }
    EXPECT_NE(rows[0], rows[2]);
}

TEST_F(UnknownsSearch, ShardsSplitTheScanByPathHashAndKeepScanIndices)
{
    m_options.SearchSubfolders = 1;
    const std::vector<std::vector<std::string>> whole = Alone(Unknown(0));
    std::vector<std::vector<std::string>> placed(whole.size());
    std::size_t searched = 0;
    for (int k = 0; k < 3; ++k) {
        CUnknownsSearchRequest request;
        request.UnknownPaths = {Unknown(0)};
        request.LibraryFolder = m_dir.File("lib/");
        request.Shard = {k, 3};
        std::atomic<bool> running{true};
        const CUnknownsSearchResult result = SearchUnknowns(
            request, m_options, running, [&](std::size_t, std::size_t index, std::vector<std::string> c) {
                EXPECT_EQ(ShardOfEntry(RelativeEntryPath(c[0]), 3), k) << c[0];
                EXPECT_TRUE(placed.at(index).empty());
                placed.at(index) = std::move(c);
            });
        EXPECT_EQ(result.Entries.size(), whole.size());
        EXPECT_EQ(result.EntriesRead, static_cast<long long>(result.Searched.size()));
        searched += result.Searched.size();
    }
    EXPECT_EQ(searched, whole.size());
    EXPECT_EQ(placed, whole);
}
