// The merge of shard results: rows placed by scan index whatever the shard count, every kind of bad shard set
// refused with a text naming the culprit, several unknowns merged apart.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/scaleout/ShardMerge.h"
#include "engine/workflow/LibrarySearch.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// A scan of `entries` entries, some in subfolders, and the rows of an unknown: row i's forward value repeats
// every three entries, so the merged list must keep the scan order among ties.
struct Scan {
    std::vector<CLibraryEntryFile> Entries;
    std::vector<std::vector<std::string>> Rows;
};

Scan MakeScan(int entries)
{
    Scan scan;
    for (int i = 0; i < entries; ++i) {
        const std::string cell = (i % 4 == 0 ? "./sub/" : "") + std::to_string(i) + ".ChromLibEntry";
        scan.Entries.push_back({"/lib/" + RelativeEntryPath(cell), cell, i + 1, ""});
        scan.Rows.push_back({cell, "S" + std::to_string(i), "", i % 3 == 0 ? "0.900" : "0.500"});
    }
    return scan;
}

std::vector<CShardInput> Shards(const Scan& scan, int n, const std::string& unknown = "/u.ChromLibEntry")
{
    std::vector<CShardInput> inputs(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        CShardHeader& h = inputs[k].Result.Header;
        h.Program = ShardProgramText();
        h.Shard = {k, n};
        h.UnknownSha256 = std::string(64, '1');
        h.UnknownPath = unknown;
        h.LibraryFolder = "/lib/";
        h.OptionsSha256 = std::string(64, '2');
        h.EntryCount = static_cast<long long>(scan.Entries.size());
        h.EntryListSha256 = EntryListDigest(scan.Entries);
        inputs[k].Path = unknown + ".shard-" + std::to_string(k);
    }
    for (std::size_t i = 0; i < scan.Rows.size(); ++i)
        inputs[ShardOfEntry(RelativeEntryPath(scan.Rows[i][0]), n)].Result.Rows.push_back(
            {static_cast<long long>(i), scan.Rows[i]});
    return inputs;
}

std::string Refusal(std::vector<CShardInput> inputs)
{
    try {
        MergeShardResults(std::move(inputs));
    } catch (const CShardMergeRefused& e) {
        return e.what();
    }
    return "(merged)";
}

} // namespace

TEST(ShardMerge, PlacesRowsByScanIndexForAnyShardCount)
{
    const Scan scan = MakeScan(60);
    for (int n : {1, 2, 4, 7, 60}) {
        std::vector<CShardInput> inputs = Shards(scan, n);
        std::reverse(inputs.begin(), inputs.end()); // the order the files come in does not matter
        const std::vector<CMergedSearch> merged = MergeShardResults(inputs);
        ASSERT_EQ(merged.size(), 1u);
        EXPECT_EQ(merged[0].Rows, scan.Rows) << n << " shards";
        EXPECT_EQ(merged[0].ShardPaths.size(), static_cast<std::size_t>(n));
    }
}

TEST(ShardMerge, RefusesIncompleteStaleAndMismatchedShardSets)
{
    const Scan scan = MakeScan(30);
    const auto with = [&](auto change) {
        std::vector<CShardInput> inputs = Shards(scan, 4);
        change(inputs);
        return inputs;
    };
    const struct {
        std::vector<CShardInput> Inputs;
        const char* Refusal;
    } cases[] = {
        {with([](auto& s) { s.erase(s.begin() + 2); }), "shard 2/4 of /u.ChromLibEntry is missing"},
        {with([](auto& s) { s.push_back(s[1]); }), "shard 1/4 of /u.ChromLibEntry is given twice"},
        {with([](auto& s) { s[3].Result.Header.OptionsSha256[0] = '9'; }),
         "shard file /u.ChromLibEntry.shard-3 (shard 3/4) does not belong to the search of /u.ChromLibEntry: stale: "
         "made with other search options"},
        {with([](auto& s) { s[0].Result.Header.UnknownSha256[5] = '0'; }), "another version of the unknown file"},
        {with([](auto& s) { s[1].Result.Header.LibraryFolder = "/other/"; }), "another library folder (/other/)"},
        {with([](auto& s) { s[2].Result.Header.EntryListSha256[0] = 'f'; }), "another state of the library"},
        {with([](auto& s) { s[2].Result.Header.Program = "Corvelinscope 0.0.1"; }), "another program version"},
        {with([](auto& s) { s[2].Result.Header.Shard.Count = 5; }), "in 5 shards, not 4"},
        {with([](auto& s) { std::swap(s[0].Result.Rows, s[1].Result.Rows); }), "which belongs to shard"},
        {with([](auto& s) { s[0].Result.Rows.pop_back(); }), "hold 29 rows for 30 library entries"},
        {with([](auto& s) { s[0].Result.Rows.back().Index = s[0].Result.Rows.front().Index; }),
         "holds a row for entry index"},
        {with([](auto& s) { std::swap(s[0].Result.Rows[0].Cells[1], s[0].Result.Rows[1].Cells[1]); }), "(merged)"},
        {with([](auto& s) { std::swap(s[0].Result.Rows[0].Index, s[0].Result.Rows[1].Index); }),
         "do not make up the library list"},
        {{}, "no shard files were given"},
    };
    for (const auto& c : cases)
        EXPECT_NE(Refusal(c.Inputs).find(c.Refusal), std::string::npos) << Refusal(c.Inputs);
}

TEST(ShardMerge, SeveralUnknownsGiveOneSearchEachAndOneBadGroupStopsAll)
{
    const Scan scan = MakeScan(12);
    std::vector<CShardInput> inputs = Shards(scan, 2, "/a.ChromLibEntry");
    for (CShardInput& input : Shards(scan, 3, "/b.ChromLibEntry"))
        inputs.push_back(std::move(input));
    const std::vector<CMergedSearch> merged = MergeShardResults(inputs);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].Header.UnknownPath, "/a.ChromLibEntry");
    EXPECT_EQ(merged[1].Header.Shard.Count, 3);
    EXPECT_EQ(merged[1].Rows, scan.Rows);
    inputs.pop_back();
    EXPECT_NE(Refusal(inputs).find("shard 2/3 of /b.ChromLibEntry is missing"), std::string::npos);
}

TEST(ShardMerge, FoldersGiveTheirShardFilesButNoTemporaryFilesOfAKilledWriter)
{
    TempDir dir;
    for (const char* name : {"b.shard-1-of-2", "a.shard-0", "a.shard-0.tmp4242-0", "report.csv", "b.shard-0-of-2"})
        WriteAllText(dir.File(name), "x");
    EXPECT_EQ(ShardFilesOf({dir.Path().string(), dir.File("report.csv")}),
              (std::vector<std::string>{dir.File("a.shard-0"), dir.File("b.shard-0-of-2"), dir.File("b.shard-1-of-2"),
                                        dir.File("report.csv")}));
    EXPECT_THROW(ShardFilesOf({dir.File("missing")}), CShardMergeRefused);
}
