// corvelinscope-batch beyond one machine: shards merged into the one-machine report byte for byte, refused
// merges, and many unknowns in one pass giving the one-by-one reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "bench/SyntheticLibrary.h"
#include "engine/core/LibraryChromatogram.h"
#include "tests/batch/cli/BatchFixture.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

class ScaleOut : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        CSyntheticLibraryShape shape;
        shape.Entries = 36;
        shape.Peaks = 20;
        shape.Lines = 20;
        shape.Subfolders = 2;
        shape.Seed = 3;
        const CSyntheticLibrary library(shape);
        m_library = Data("lib");
        const std::vector<std::string> written = library.WriteLibrary(m_library);
        // Copies of entries elsewhere in the tree: their rows tie on every value with the original's.
        for (int i = 0; i < 12; ++i)
            fs::copy_file(written[static_cast<std::size_t>(i % 4)],
                          Data("lib/sub" + std::to_string(1 + i % 2) + "/copy" + std::to_string(i) + ".ChromLibEntry"));
        for (int u = 0; u < 3; ++u)
            library.MakeReplicate(u * 5, 50 + u)->SaveEntry(UnknownPath(u));
    }

    std::string UnknownPath(int u) { return Data("u/u" + std::to_string(u) + ".ChromLibEntry"); }
    std::vector<std::string> Search(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"/Library=" + m_library, "/Subfolders=1"});
        return args;
    }
    // The shard result files of unknown u for n shards, in a folder of their own.
    std::string MakeShards(int u, int n, const std::string& folder)
    {
        for (int k = 0; k < n; ++k) {
            const std::string shard = std::to_string(k) + "/" + std::to_string(n);
            const BatchRun run = Run(Search({"/Search=" + UnknownPath(u), "/Shard=" + shard,
                                             "/Out=" + Data(folder + "/u.shard-" + std::to_string(k))}));
            EXPECT_EQ(run.ExitCode, 0) << run.Err;
        }
        return Data(folder);
    }

    std::string m_library;
};

} // namespace

TEST_F(ScaleOut, MergedShardsGiveTheOneMachineReportByteForByteWithoutTheLibrary)
{
    const BatchRun one = Run(Search({"/Search=" + UnknownPath(0), "/Out=" + Data("one.csv")}));
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    const std::string report = ReadAllText(Data("one.csv"));
    std::map<std::string, int> forward; // the fixture has many tied forward values (the fourth field)
    for (std::size_t at = report.find("Library Hits:"); (at = report.find("\n\"", at)) != std::string::npos;) {
        std::size_t field = ++at;
        for (int i = 0; i < 3; ++i)
            field = report.find("\",\"", field) + 3;
        ++forward[report.substr(field, report.find('"', field) - field)];
    }
    int tied = 0;
    for (const auto& [value, count] : forward)
        tied += count > 1 ? count : 0;
    EXPECT_GE(tied, 20);

    for (int n : {1, 2, 4, 7}) {
        const std::string folder = MakeShards(0, n, "shards" + std::to_string(n));
        fs::rename(m_library, Data("moved-away"));
        const BatchRun merge = Run({"/Merge=" + folder, "/Out=" + Data("merged.csv")});
        fs::rename(Data("moved-away"), m_library);
        EXPECT_EQ(merge.ExitCode, 0) << merge.Err;
        EXPECT_EQ(ReadAllText(Data("merged.csv")), report) << n << " shards";
    }
}

TEST_F(ScaleOut, RefusedMergesNameTheShardExitWith7AndWriteNoReport)
{
    const std::string good = MakeShards(0, 3, "good");
    const auto variant = [&](const std::string& name, auto change) {
        const std::string folder = Data(name);
        fs::copy(good, folder);
        change(folder);
        return folder;
    };
    const struct {
        std::string Folder;
        std::string Refusal;
    } cases[] = {
        {variant("missing", [](const std::string& f) { fs::remove(f + "/u.shard-1"); }), "shard 1/3 of"},
        {variant("twice", [](const std::string& f) { fs::copy_file(f + "/u.shard-2", f + "/v.shard-2"); }),
         "is given twice"},
        {variant("options",
                 [&](const std::string& f) {
                     Run(Search({"/Search=" + UnknownPath(0), "/SWnd=0.7", "/Shard=1/3", "/Out=" + f + "/u.shard-1"}));
                 }),
         "u.shard-1 (shard 1/3) does not belong to the search of " + UnknownPath(0) +
             ": stale: made with other search"},
        {variant("library",
                 [&](const std::string& f) {
                     fs::copy_file(m_library + "/sub1/copy0.ChromLibEntry", m_library + "/added.ChromLibEntry");
                     Run(Search({"/Search=" + UnknownPath(0), "/Shard=2/3", "/Out=" + f + "/u.shard-2"}));
                     fs::remove(m_library + "/added.ChromLibEntry");
                 }),
         "u.shard-2 (shard 2/3) does not belong to the search of " + UnknownPath(0) +
             ": stale: made from another state of the library"},
        {variant("foreign", [](const std::string& f) { WriteAllText(f + "/x.shard-0", "Library Hits:\n"); }),
         "x.shard-0: not a shard result file"},
    };
    for (const auto& c : cases) {
        const BatchRun run = Run({"/Merge=" + c.Folder, "/Out=" + Data("never.csv")});
        EXPECT_EQ(run.ExitCode, 7) << c.Folder;
        EXPECT_NE(run.Err.find("Merge refused: "), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find(c.Refusal), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(Data("never.csv")));
    }
}

TEST_F(ScaleOut, UnknownsInOnePassGiveTheOneByOneReportsAndGoOnAfterAnUnreadableOne)
{
    WriteAllText(Data("list.txt"), UnknownPath(0) + "\n" + Data("u/missing.ChromLibEntry") + "\r\n\n" + UnknownPath(1) +
                                       "\n" + UnknownPath(2) + "\n");
    const BatchRun many = Run(Search({"/Unknowns=" + Data("list.txt"), "/Out=" + Data("many"), "/Debug"}));
    EXPECT_EQ(many.ExitCode, 2) << many.Err;
    EXPECT_NE(many.Err.find("Error reading from Chromatogram file '" + Data("u/missing.ChromLibEntry") + "'"),
              std::string::npos);
    EXPECT_NE(many.Err.find("Library entries read: 48 for 4 unknowns"), std::string::npos) << many.Err;

    // The same unknowns as a folder, sharded into one folder of shard files and merged: one report each.
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(
            Run(Search({"/Unknowns=" + Data("u"), "/Shard=" + std::to_string(k) + "/2", "/Out=" + Data("shards")}))
                .ExitCode,
            0);
    EXPECT_EQ(Run({"/Merge=" + Data("shards"), "/Out=" + Data("merged")}).ExitCode, 0);

    for (int u = 0; u < 3; ++u) {
        const BatchRun alone = Run(Search({"/Search=" + UnknownPath(u), "/Out=" + Data("alone.csv")}));
        ASSERT_EQ(alone.ExitCode, 0) << alone.Err;
        for (const char* folder : {"many", "merged"}) {
            std::vector<std::string> reports;
            for (const auto& e : fs::directory_iterator(Data(folder)))
                if (e.path().filename().string().rfind("u" + std::to_string(u) + ".ChromLibE ", 0) == 0)
                    reports.push_back(e.path().string());
            std::string listing;
            for (const auto& e : fs::directory_iterator(Data(folder)))
                listing += e.path().filename().string() + "; ";
            ASSERT_EQ(reports.size(), 1u) << folder << ": " << listing;
            EXPECT_EQ(ReadAllText(reports[0]), ReadAllText(Data("alone.csv"))) << reports[0];
        }
    }
}
