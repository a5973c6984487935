// Conversion through corvelinscope-batch and the engine: entry names, the "just display" lines, folder
// conversion, replacing entries whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/batch/cli/BatchFixture.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "tests/support/RecordingMessageSink.h"
#include "engine/workflow/Conversion.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include "engine/platform/PendingTemporaryFile.h"
#include "tests/support/RecordingMessageSink.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

class BatchConversion : public BatchFixture {};

TEST_F(BatchConversion, EntryNamesFollowTheDataFile)
{
    struct Case {
        std::string file;
        std::string entry;
    };
    const std::vector<Case> cases = {{"run1.D/data.ms", "run1.D.ChromLibEntry"},
                                     {"run2.D/run2.hpt", "run2.ChromLibEntry"},
                                     {"sample.elu", "sample.elu.ChromLibEntry"},
                                     {"plain/run3.raw", "plain/run3.raw.ChromLibEntry"}};
    for (const Case& c : cases) {
        MakeTestChromatogram("S", {{1.0, 10}, {2.0, 20}})->SaveEntry(Data(c.file));
        const BatchRun run = Run({"/Convert=" + Data(c.file) + "\""});
        EXPECT_EQ(run.ExitCode, 0) << c.file << run.Err;
        EXPECT_EQ(run.Out,
                  "The chromatogramm '" + Data(c.file) +
                      "' was converted successfully\n  Keeping the RI calibration of the data file (3 points).\n");
        CLibraryChromatogram entry;
        ASSERT_TRUE(entry.LoadEntry(Data(c.entry))) << c.entry;
        // The options' RI table is empty: the file's own calibration stays.
        EXPECT_EQ(entry.RICalibration.GetCount(), 3u);
        EXPECT_EQ(entry.GetPeak(0)->RI, 850.0);
    }
}

TEST_F(BatchConversion, MinAreaCountsForTheConversionOnlyAfterConvert)
{
    const std::string raw = Data("area.raw");
    MakeTestChromatogram("S", {{1.0, 1}, {2.0, 10}, {3.0, 40}, {4.0, 49}})->SaveEntry(raw);
    CLibraryChromatogram entry;
    Run({"/MinArea=5", "/Convert=" + raw});
    ASSERT_TRUE(entry.LoadEntry(raw + ".ChromLibEntry"));
    EXPECT_EQ(entry.PeakCount, 4);
    Run({"/Convert=" + raw, "/MinArea=5"});
    ASSERT_TRUE(entry.LoadEntry(raw + ".ChromLibEntry"));
    EXPECT_EQ(entry.PeakCount, 3);
}

TEST_F(BatchConversion, UnreadableFilesGiveTheirTreeLines)
{
    WriteAllText(Data("junk.raw"), "no entry");
    const BatchRun junk = Run({"/Convert=" + Data("junk.raw")});
    EXPECT_EQ(junk.ExitCode, 5);
    // The log line the manual names, with the reader's reason on the line under it.
    EXPECT_EQ(junk.Out.rfind("The chromatogramm '" + Data("junk.raw") + "' could not be read\n  '", 0), 0u) << junk.Out;
    const BatchRun unknownType = Run({"/Convert=" + Data("x.unknowntype")});
    EXPECT_EQ(unknownType.ExitCode, 5);
    EXPECT_EQ(unknownType.Out, "The chromatogramm '" + Data("x.unknowntype") +
                                   "' could not be read\n  No matching plugin found. Can't read file '" +
                                   Data("x.unknowntype") + "'.\n");
    const BatchRun display = Run({"/Display=" + Data("junk.raw")});
    EXPECT_EQ(display.ExitCode, 2);
    EXPECT_EQ(display.Out, "The chromatogramm '" + Data("junk.raw") + "' could not be read\n");
}

TEST_F(BatchConversion, ConversionPageSwitchedOffConvertsNothing)
{
    MakeTestChromatogram("S", {{1.0, 10}})->SaveEntry(Data("off.raw"));
    WriteMachineInt("Corvelinscope", "ShowPageAdd", 0);
    EXPECT_EQ(Run({"/Convert=" + Data("off.raw")}).ExitCode, 1);
    EXPECT_FALSE(fs::exists(Data("off.raw.ChromLibEntry")));
}

TEST_F(BatchConversion, JustDisplayListsTheChromatogram)
{
    auto c = MakeTestChromatogram("S", {{1.0, 25}, {2.5, 75}});
    c->RICalibration.Clear(); // foreign data without RI data: recalibrated with the (empty) table
    c->DataFile = "C:\\runs\\S.raw";
    c->SaveEntry(Data("show.raw"));
    const BatchRun run = Run({"/Display=" + Data("show.raw")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 3u + 2 * 7);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(Reading file C:\\runs\\S\.raw took \d+\.\d\d seconds)")))
        << lines[0];
    EXPECT_EQ(lines[1], "  No RI data in chromatogram. Recalibrating with current RI cal table.");
    EXPECT_EQ(lines[2], "  Number of Peaks:  2, total abs. Area: 100");
    EXPECT_EQ(lines[3], "     Peak  0: RT 1.00, RI -1.0, Area% 25.00, Width 6.00, Area(abs) 25");
    EXPECT_EQ(lines[4], "        Number of mass spec points:  5");
    EXPECT_EQ(lines[5].rfind("           Mass = 40, intensity = 100.00, weighted=", 0), 0u) << lines[5];
    EXPECT_EQ(lines[10], "     Peak  1: RT 2.50, RI -1.0, Area% 75.00, Width 6.00, Area(abs) 75");
}

TEST_F(BatchConversion, OwnEntriesAreNotRecalibratedForDisplay)
{
    MakeTestChromatogram("S", {{1.0, 25}})->SaveEntry(Data("own.ChromLibEntry"));
    const BatchRun run = Run({"/Display=" + Data("own.ChromLibEntry")});
    EXPECT_EQ(run.Out.find("No RI data"), std::string::npos);
    EXPECT_NE(run.Out.find("RI 850.0"), std::string::npos) << run.Out;
}

// In-process conversion with the fake reader as the only plug-in.
class FolderConversion : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        auto plugins = std::make_unique<CDatasystemPlugins>();
        for (const char* extension : {".ms", ".hpt", ".elu", ".raw"}) {
            auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_FAKE_READER, true);
            plugin->Name = "Fake GC-MS";
            plugin->Extension = extension;
            plugins->Append(std::move(plugin));
        }
        m_previous = SetDatasystemPlugins(std::move(plugins));
    }
    void TearDown() override { SetDatasystemPlugins(std::move(m_previous)); }
    std::unique_ptr<CDatasystemPlugins> m_previous;
    CSearchOptions m_options;
};

TEST_F(FolderConversion, ConvertAllStopsAtTheFirstFailureAndKeepsWhatWasConverted)
{
    MakeTestChromatogram("A", {{1.0, 10}})->SaveEntry(Data("f/a.raw"));
    MakeTestChromatogram("B", {{1.0, 10}})->SaveEntry(Data("f/b.raw"));
    WriteAllText(Data("f/c.raw"), "broken");
    MakeTestChromatogram("D", {{1.0, 10}})->SaveEntry(Data("f/d.raw"));
    MakeTestChromatogram("E", {{1.0, 10}})->SaveEntry(Data("f/e.other"));
    RecordingMessageSink sink;
    CInfoTree tree;
    EXPECT_FALSE(DisplayAndConvert(Data("f/b.raw"), 0, true, m_options, tree));
    const CInfoLine kept{"Keeping the RI calibration of the data file (3 points).", 1, false};
    ASSERT_EQ(tree.size(), 6u);
    EXPECT_EQ(CInfoTree(tree.begin(), tree.begin() + 4),
              (CInfoTree{{"The chromatogramm '" + Data("f/a.raw") + "' was converted successfully", 0, false},
                         kept,
                         {"The chromatogramm '" + Data("f/b.raw") + "' was converted successfully", 0, false},
                         kept}));
    // The failure: one message, and the log line with the reader's reason under it.
    EXPECT_EQ(tree[4].Text, "The chromatogramm '" + Data("f/c.raw") + "' could not be read");
    EXPECT_EQ(tree[5].Depth, 1);
    ASSERT_EQ(sink.Texts().size(), 1u);
    EXPECT_EQ(sink.Texts()[0], tree[4].Text + "\n" + tree[5].Text);
    EXPECT_TRUE(fs::exists(Data("f/a.raw.ChromLibEntry")));
    EXPECT_TRUE(fs::exists(Data("f/b.raw.ChromLibEntry")));
    EXPECT_FALSE(fs::exists(Data("f/d.raw.ChromLibEntry")));
    EXPECT_FALSE(fs::exists(Data("f/e.other.ChromLibEntry")));
}

TEST_F(FolderConversion, RunFoldersConvertDataMsFirstThenHpt)
{
    MakeTestChromatogram("R1", {{1.0, 10}})->SaveEntry(Data("runs/r1.D/data.ms"));
    MakeTestChromatogram("R1h", {{1.0, 10}})->SaveEntry(Data("runs/r1.D/r1.hpt"));
    MakeTestChromatogram("R2", {{1.0, 10}})->SaveEntry(Data("runs/r2.d/DATA.MS"));
    MakeTestChromatogram("X", {{1.0, 10}})->SaveEntry(Data("runs/notrun/data.ms"));
    CInfoTree tree;
    EXPECT_TRUE(DisplayAndConvert(Data("runs/r1.D/r1.hpt"), 0, true, m_options, tree));
    ASSERT_EQ(tree.size(), 6u); // each with the line that keeps its own RI calibration
    EXPECT_EQ(tree[0].Text, "The chromatogramm '" + Data("runs/r1.D/data.ms") + "' was converted successfully");
    EXPECT_EQ(tree[2].Text, "The chromatogramm '" + Data("runs/r2.d/DATA.MS") + "' was converted successfully");
    EXPECT_EQ(tree[4].Text, "The chromatogramm '" + Data("runs/r1.D/r1.hpt") + "' was converted successfully");
    EXPECT_TRUE(fs::exists(Data("runs/r1.D.ChromLibEntry")));
    EXPECT_TRUE(fs::exists(Data("runs/r1.ChromLibEntry")));
    EXPECT_TRUE(fs::exists(Data("runs/r2.d.ChromLibEntry")));
}

TEST_F(FolderConversion, AFailedWriteLeavesTheExistingEntryWhole)
{
    // A large chromatogram whose entry cannot be written within a small file-size limit.
    std::vector<std::pair<double, double>> peaks;
    for (int i = 0; i < 150; ++i)
        peaks.emplace_back(1.0 + i * 0.1, 10.0 + i);
    MakeTestChromatogram("Big", peaks)->SaveEntry(Data("w/big.raw"));
    const std::string entry = Data("w/big.raw.ChromLibEntry");
    WriteAllText(entry, std::string(3000, 'x'));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        CInfoTree tree;
        const bool ok = ConvertChromatogram(Data("w/big.raw"), 0, m_options, false, tree);
        _exit(!ok && tree.size() == 1 && tree[0].Text == "ReadFromPlugin error #2 on file " + Data("w/big.raw") + "\n"
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadAllText(entry), std::string(3000, 'x'));
    int files = 0;
    for (const auto& e : fs::directory_iterator(Data("w")))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2) << "a temporary file was left behind";
}

// A write that fails names the system's reason (a full disk, a folder in the way), not only the tree line.
TEST_F(FolderConversion, AFailedWriteNamesTheSystemError)
{
    MakeTestChromatogram("S", {{1.0, 10}, {2.0, 20}})->SaveEntry(Data("d/s.raw"));
    fs::create_directories(Data("d/s.raw.ChromLibEntry/inside")); // a folder where the entry should go
    RecordingMessageSink messages;
    CInfoTree tree;
    EXPECT_FALSE(ConvertChromatogram(Data("d/s.raw"), 0, m_options, false, tree));
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "The library entry '" + Data("d/s.raw.ChromLibEntry") +
                                       "' could not be written: " + std::strerror(EISDIR));
}

// A conversion ended by SIGTERM or SIGINT while its entry is written leaves no temporary file, and a later
// conversion of the same file removes one that a killed conversion left (but not one that is being written).
TEST_F(FolderConversion, InterruptedWritesLeaveNoTemporaryFiles)
{
    const std::string raw = Data("t/run.raw");
    MakeTestChromatogram("S", {{1.0, 10}, {2.0, 20}})->SaveEntry(raw);
    for (int sig : {SIGTERM, SIGINT}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            InstallTemporaryFileCleanup();
            WriteAllText(Data("t/run.raw.ChromLibEntry.00000000000000aa.tmp"), "half");
            const CPendingTemporaryFile pending(Data("t/run.raw.ChromLibEntry.00000000000000aa.tmp"));
            std::raise(sig);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig);
        EXPECT_FALSE(fs::exists(Data("t/run.raw.ChromLibEntry.00000000000000aa.tmp")));
    }
    const std::string stale = Data("t/run.raw.ChromLibEntry.0123456789abcdef.tmp");
    const std::string busy = Data("t/run.raw.ChromLibEntry.fedcba9876543210.tmp");
    const std::string other = Data("t/other.raw.ChromLibEntry.0123456789abcdef.tmp");
    for (const std::string& f : {stale, busy, other})
        WriteAllText(f, "left");
    const int busyFd = ::open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busyFd, LOCK_EX), 0);
    CInfoTree tree;
    EXPECT_TRUE(ConvertChromatogram(raw, 0, m_options, false, tree));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(busy));
    EXPECT_TRUE(fs::exists(other));
    ::close(busyFd);
}

// A conversion keeps the file's own RI calibration while the options' RI table is empty, and says so; a table in
// the options replaces it, and that is said too.
TEST_F(BatchConversion, TheFilesOwnRICalibrationIsKeptWithoutAnRITable)
{
    MakeTestChromatogram("S", {{1.0, 25}})->SaveEntry(Data("own.ChromLibEntry"));
    CSearchOptions withTable;
    for (const auto& [rt, ri] : {std::pair{1.0, 700.0}, std::pair{11.0, 1700.0}}) {
        auto& point = withTable.RICalibration().GetPoint(
            withTable.RICalibration().AddPoint(std::make_unique<CLibraryRICalibrationPoint>()));
        point.RT = rt;
        point.RI = ri;
    }
    ASSERT_TRUE(WriteParameterFile(withTable, Data("table.spf")) && WriteParameterFile({}, Data("none.spf")));
    for (const auto& [params, line, ri] :
         {std::tuple{Data("none.spf"), "Keeping the RI calibration of the data file (3 points).", 850.0},
          {Data("table.spf"), "The RI calibration of the data file was replaced by the current RI cal table.",
           700.0}}) {
        const BatchRun run = Run({"/Params=" + params, "/Convert=" + Data("own.ChromLibEntry")});
        EXPECT_NE(run.Out.find(line), std::string::npos) << run.Out << run.Err;
        CLibraryChromatogram entry;
        ASSERT_TRUE(entry.LoadEntry(Data("own.ChromLibEntry.ChromLibEntry")));
        EXPECT_DOUBLE_EQ(entry.GetPeak(0)->RI, ri);
    }
}

} // namespace
