// corvelinscope-batch library searches on fixtures written by the engine: the CSV report byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>

#include "tests/batch/cli/BatchFixture.h"
#include "bench/SyntheticLibrary.h"
#include "engine/compare/CellTable.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include "tests/support/LiteralCompare.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

std::string F3(double v)
{
    char b[64];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

std::string Counts(int a, int b)
{
    char t[64];
    std::snprintf(t, sizeof t, "%2i of %2i", a, b);
    return t;
}

struct ExpectedRow {
    std::string Line;
    double Forward = 0;
};

// The CSV line of an entry, computed here from the documented columns with the literal transcription of the
// documented comparison (tests/support), so the expectation does not come from the engine's own Compare.
ExpectedRow CompareRow(const std::string& fileCell, const std::string& entryPath, const CLibraryChromatogram& unknown,
                       const CSearchOptions& options)
{
    CLibraryChromatogram entry;
    EXPECT_TRUE(entry.LoadEntry(entryPath)) << entryPath;
    CCellTable cells(200, 200);
    CLibraryHit forward;
    CLibraryHit reverse;
    literal::Compare(unknown, entry, options, &forward, &cells);
    literal::Compare(entry, unknown, options, &reverse, &cells);
    const std::vector<std::string> fields = {fileCell,
                                             entry.SampleName,
                                             entry.Comment,
                                             F3(forward.Overall),
                                             F3(reverse.Overall),
                                             Counts(forward.MatchedPeaks, forward.ConsideredPeaks),
                                             Counts(reverse.MatchedPeaks, reverse.ConsideredPeaks),
                                             F3(forward.MSAverage),
                                             F3(forward.RTAverage),
                                             F3(forward.RIAverage),
                                             F3(forward.AreaAverage),
                                             F3(forward.HeightAverage),
                                             F3(reverse.MSAverage),
                                             F3(reverse.RTAverage),
                                             F3(reverse.RIAverage),
                                             F3(reverse.AreaAverage),
                                             F3(reverse.HeightAverage)};
    std::string line;
    for (const auto& f : fields)
        line += "\"" + f + "\",";
    return {line + "\r\n", forward.Overall};
}

// A cell as the report writes it: every "/" spelt " of ".
std::string Cell(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '/' ? std::string(" of ") : std::string(1, c);
    return out;
}

std::string WarningLine(const std::string& fileCell, const std::string& text)
{
    // The "File" column holds paths and keeps its "/"; the other cells spell them " of ".
    std::string line = "\"" + fileCell + "\",\"" + Cell(text) + "\",";
    for (int i = 2; i < 17; ++i)
        line += "\"\",";
    return line + "\r\n";
}

const char* kHeaderRow = "\"File\",\"S.Name\",\"Comment\",\"Foward\",\"Reverse\",\"nPeaks Forward\",\"nPeaks "
                         "Reverse\",\"Forw MS\",\"Forw RT\",\"Forw RI\",\"Forw Ar\",\"Forw Hg\",\"Rev MS\",\"Rev "
                         "RT\",\"Rev RI\",\"Rev Ar\",\"Rev Hg\",\r\n";

// Rows sorted by forward match, descending; the test data keep the values apart.
std::string SortedLines(std::vector<ExpectedRow> rows)
{
    std::sort(rows.begin(), rows.end(),
              [](const ExpectedRow& a, const ExpectedRow& b) { return a.Forward > b.Forward; });
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_GT(rows[i - 1].Forward - rows[i].Forward, 0.0002) << "fixture has near-equal forward values";
    std::string out;
    for (const auto& r : rows)
        out += r.Line;
    return out;
}

class BatchSearch : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        m_unknownPath = Data("run1.ChromLibEntry");
        m_unknown = MakeTestChromatogram("Unknown", {{2.0, 100}, {4.0, 300}, {6.0, 250}, {8.0, 350}});
        m_unknown->SaveEntry(m_unknownPath);
        m_library = Data("lib");
        fs::create_directories(m_library + "/sub");
        MakeTestChromatogram("A", {{2.01, 100}, {4.02, 300}, {6.0, 250}, {8.0, 350}})
            ->SaveEntry(m_library + "/a.ChromLibEntry");
        MakeTestChromatogram("B", {{2.3, 100}, {4.0, 300}, {7.0, 250}})->SaveEntry(m_library + "/b.ChromLibEntry");
        MakeTestChromatogram("C", {{2.0, 100}, {4.06, 300}, {6.0, 250}})->SaveEntry(m_library + "/sub/c.ChromLibEntry");
        MakeTestChromatogram("Big", {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}})
            ->SaveEntry(m_library + "/big.ChromLibEntry");
    }

    // The options the program starts with (last-used values of a fresh settings file) with changes applied.
    CSearchOptions StartOptions() const
    {
        CSearchOptions o;
        o.LoadLastUsed("Global");
        return o;
    }

    std::string ParamsFile(const CSearchOptions& o, const std::string& name) const
    {
        const std::string path = Data(name);
        EXPECT_TRUE(WriteParameterFile(o, path));
        return path;
    }

    std::string ReadCsvAndRemove(const std::string& folder) const
    {
        const std::string csv = OnlyCsvIn(folder);
        const std::string text = ReadAllText(csv);
        fs::remove(csv);
        return text;
    }

    std::string m_unknownPath;
    std::unique_ptr<CLibraryChromatogram> m_unknown;
    std::string m_library;
};

std::string HeaderBlock(const std::string& unknown, const std::string& library, const std::string& sample,
                        const std::string& peaks)
{
    return "Library search results for = " + unknown + "\r\nSample Name = " + sample +
           "\r\nNumber of Peaks = " + peaks + "\r\nChromatogram Library =  " + library + "\r\n\r\n";
}

TEST_F(BatchSearch, ReportIsWrittenByteForByteWithRowsSortedByForwardMatch)
{
    CSearchOptions o;
    o.MSMatching = 1;
    o.RTMatching = 1;
    o.RIMatching = 0;
    o.RTWindowWidth = 0.25;
    o.SearchSubfolders = 1;
    const std::string params = ParamsFile(o, "subfolders.spf");
    WriteUserInt("LibrarySearch", "MaxPeaks", 5);
    const std::time_t before = std::time(nullptr);
    const BatchRun run = Run({"/Params=" + params, "/Search=" + m_unknownPath, "/Library=" + m_library});
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;

    // The file name: the unknown path without its last four characters, " %Y-%m-%d %H-%M", ".csv".
    const std::string csv = OnlyCsvIn(Data(""));
    bool nameMatches = false;
    for (std::time_t t = before - 60; t <= after + 60; t += 30) {
        char stamp[64];
        std::strftime(stamp, sizeof stamp, " %Y-%m-%d %H-%M", std::localtime(&t));
        nameMatches = nameMatches || csv == m_unknownPath.substr(0, m_unknownPath.size() - 4) + stamp + ".csv";
    }
    EXPECT_TRUE(nameMatches) << csv;

    CSearchOptions used;
    ReadParameterFile(used, params);
    std::vector<ExpectedRow> rows = {
        CompareRow("a.ChromLibEntry", m_library + "/a.ChromLibEntry", *m_unknown, used),
        CompareRow("b.ChromLibEntry", m_library + "/b.ChromLibEntry", *m_unknown, used),
        CompareRow("./sub/c.ChromLibEntry", m_library + "/sub/c.ChromLibEntry", *m_unknown, used)};
    for (const auto& r : rows)
        ASSERT_GT(r.Forward, 0.001);
    const std::string expected =
        HeaderBlock(m_unknownPath, m_library + "/", "Unknown", " 4") +
        "Search Parameter:\r\nMS matching = Yes\r\nRT matching = Yes\r\nRI matching = No\r\nArea matching = No\r\n"
        "Height matching = No\r\nArea/Height compare option = relative area/height\r\nRT search range: *\r\n"
        "Allow multiple matching = No\r\nWeighting: none\r\nRT window width: 0.25\r\nMass Threshold used: No\r\n"
        "Area Threshold used: No\r\n\r\nLibrary Hits:\r\n" +
        kHeaderRow + SortedLines(rows) +
        WarningLine("big.ChromLibEntry", "Warning: Library File Big.raw has too many peaks to be comparable!");
    EXPECT_EQ(ReadAllText(csv), expected);
    // The aligned hit table on stdout lists the same rows.
    // The hit table on stdout shows the cells as they are: the relative prefix of the subfolder entry.
    EXPECT_NE(run.Out.find("./sub/c.ChromLibEntry"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.rfind("File", 0), 0u) << run.Out;
}

TEST_F(BatchSearch, OptionalParameterLinesFollowTheSwitches)
{
    CSearchOptions o;
    o.RTMatching = 0;
    o.RIMatching = 1;
    o.MassThresholdOn = 1;
    o.MassThreshold = 2.5;
    o.AbsoluteAreaHeight = 1;
    o.MultipleMatching = 0;
    o.Weighting = 3;
    o.TimeRange = "1-7";
    const std::string params = ParamsFile(o, "thresholds.spf");
    const BatchRun run = Run({"/Params=" + params, "/Search=" + m_unknownPath, "/Library=" + m_library + "/",
                              "/RIWnd=25", "/MinArea=1", "/Absolute=1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string text = ReadCsvAndRemove(Data(""));
    const std::string block =
        "Search Parameter:\r\nMS matching = Yes\r\nRT matching = No\r\nRI matching = Yes\r\nArea matching = No\r\n"
        "Height matching = No\r\nArea/Height compare option = absolute counts\r\nRT search range: 1-7\r\n"
        "Allow multiple matching = No\r\nWeighting: log(Area)\r\nRI window width: 25.0\r\n"
        "Mass Threshold used: Yes\r\nMass Threshold: 2.50 %\r\nArea Threshold used: Yes\r\nArea Threshold: 1.00 %\r\n"
        "\r\nLibrary Hits:\r\n";
    EXPECT_NE(text.find(HeaderBlock(m_unknownPath, m_library + "/", "Unknown", " 4") + block), std::string::npos)
        << text;
}

TEST_F(BatchSearch, UnknownWithTooManyPeaksGivesItsWarningRow)
{
    WriteUserInt("LibrarySearch", "MaxPeaks", 3);
    const BatchRun run = Run({"/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_NE(run.Err.find("The limit is MaxPeaks = 3. Raise \"Max. Peaks:\""), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("/MinArea="), std::string::npos) << run.Err;
    const std::string text = ReadCsvAndRemove(Data(""));
    const std::string tail = "Library Hits:\r\n" + std::string(kHeaderRow) +
                             WarningLine(m_unknownPath, "Warning: Unknown file " + m_unknownPath +
                                                            " has  4 peaks which are too many to be comparable!");
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(BatchSearch, UnreadableUnknownIsReportedAndItsRowWritten)
{
    WriteAllText(Data("broken.ChromLibEntry"), "not an entry");
    const BatchRun run = Run({"/Search=" + Data("broken.ChromLibEntry"), "/Library=" + m_library});
    EXPECT_EQ(run.ExitCode, 2);
    const std::string message = "Error reading from Chromatogram file '" + Data("broken.ChromLibEntry") + "'";
    EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    const std::string text = ReadCsvAndRemove(Data(""));
    EXPECT_NE(text.find("Library Hits:\r\n" + std::string(kHeaderRow) + "\"" + message + "\",\"\","), std::string::npos)
        << text;
}

TEST_F(BatchSearch, EmptyLibraryGivesNoDataAndACompleteFile)
{
    fs::create_directories(Data("empty"));
    const BatchRun run = Run({"/search=" + m_unknownPath, "/LIBRARY=" + Data("empty")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Err.find("No data in library"), std::string::npos) << run.Err;
    const std::string text = ReadCsvAndRemove(Data(""));
    const std::string tail = "\r\nLibrary Hits:\r\n" + std::string(kHeaderRow);
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.rfind(HeaderBlock(m_unknownPath, Data("empty") + "/", "Unknown", " 4"), 0), 0u) << text;
}

TEST_F(BatchSearch, ConvertAfterSearchIsIgnoredAndMsAbcIsRefused)
{
    const BatchRun run = Run(
        {"/Search=" + m_unknownPath, "/Convert=" + m_library + "/a.ChromLibEntry", "/MS=abc", "/Library=" + m_library});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_FALSE(fs::exists(m_library + "/a.ChromLibEntry.ChromLibEntry"));
    EXPECT_NE(run.Err.find("Ignored /MS=abc: not a number"), std::string::npos) << run.Err;
    const std::string text = ReadCsvAndRemove(Data(""));
    EXPECT_NE(text.find("\r\nMS matching = Yes\r\n"), std::string::npos) << text;
}

// A library folder that cannot be searched is an error: no search, no report, exit 1 (an empty report would
// pass for an empty library; the root, however it is named, would walk the whole file system).
TEST_F(BatchSearch, LibraryFoldersThatCannotBeSearchedEndWithoutAReport)
{
    fs::create_directory_symlink("/", Data("root-link"));
    for (const std::string& folder : {Data("missing"), std::string("/"), m_unknownPath, std::string("/usr/.."),
                                      std::string("/."), Data("root-link")}) {
        const BatchRun run = Run({"/Search=" + m_unknownPath, "/Library=" + folder});
        EXPECT_EQ(run.ExitCode, 1) << folder << run.Err;
        EXPECT_NE(run.Err.find("The library folder '"), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("No data in library"), std::string::npos) << run.Err;
    }
    for (const auto& item : fs::directory_iterator(Data("")))
        EXPECT_NE(item.path().extension(), ".csv") << item.path();
}

// Control characters of an entry's texts never end the printed table early nor reach the CSV.
TEST_F(BatchSearch, ControlCharactersInCellsAreWrittenAsBlanks)
{
    auto entry = MakeTestChromatogram("Ctl", {{2.0, 100}, {4.0, 300}});
    static constexpr char kComment[] = "before\0after\x1b[2J\r\nend";
    entry->Comment = std::string(kComment, sizeof kComment - 1);
    entry->SaveEntry(m_library + "/zz.ChromLibEntry");
    const BatchRun run = Run({"/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("before after [2J  end"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("big.ChromLibEntry"), std::string::npos) << run.Out; // rows after it are there too
    const std::string text = ReadCsvAndRemove(Data(""));
    EXPECT_NE(text.find("\"before after [2J  end\","), std::string::npos) << text;
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
}

TEST_F(BatchSearch, ParamsApplyAtTheirPosition)
{
    CSearchOptions o;
    o.RTMatching = 0;
    const std::string params = ParamsFile(o, "rt-off.spf");
    Run({"/RT=1", "/Params=" + params, "/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_NE(ReadCsvAndRemove(Data("")).find("\r\nRT matching = No\r\n"), std::string::npos);
    Run({"/Params=" + params, "/RT=1", "/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_NE(ReadCsvAndRemove(Data("")).find("\r\nRT matching = Yes\r\n"), std::string::npos);
}

TEST_F(BatchSearch, MinAreaCountsForTheSearchInAnyPosition)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/MinArea=2", "/Search=" + m_unknownPath, "/Library=" + m_library},
          std::vector<std::string>{"/Search=" + m_unknownPath, "/Library=" + m_library, "/MinArea=2"}}) {
        Run(args);
        EXPECT_NE(ReadCsvAndRemove(Data("")).find("\r\nArea Threshold used: Yes\r\nArea Threshold: 2.00 %\r\n"),
                  std::string::npos);
    }
}

TEST_F(BatchSearch, PrintWithoutSaveWritesNoReport)
{
    const BatchRun run = Run({"/Search=" + m_unknownPath, "/Library=" + m_library, "/Print"});
    EXPECT_EQ(run.ExitCode, 0);
    for (const auto& e : fs::directory_iterator(Data("")))
        EXPECT_NE(e.path().extension(), ".csv");
    const BatchRun saved = Run({"/Search=" + m_unknownPath, "/Library=" + m_library, "/Print", "/save"});
    EXPECT_EQ(saved.ExitCode, 0);
    ReadCsvAndRemove(Data(""));
}

TEST_F(BatchSearch, ParallelAndSingleThreadedSearchesWriteIdenticalReports)
{
    CSyntheticLibraryShape shape;
    shape.Entries = 40;
    shape.Peaks = 25;
    shape.Lines = 30;
    shape.Subfolders = 2;
    shape.Seed = 11;
    const CSyntheticLibrary generator(shape);
    const std::string library = Data("synthetic");
    generator.WriteLibrary(library);
    const std::string unknown = Data("u/unknown.ChromLibEntry");
    generator.MakeReplicate(5, 99)->SaveEntry(unknown);
    CSearchOptions o;
    o.SearchSubfolders = 1;
    o.RIMatching = 1;
    const std::string params = ParamsFile(o, "sub.spf");

    Run({"/Params=" + params, "/Search=" + unknown, "/Library=" + library, "/Threads=1"});
    const std::string single = ReadCsvAndRemove(Data("u"));
    const BatchRun run = Run({"/Params=" + params, "/Search=" + unknown, "/Library=" + library, "/Threads=4"});
    const std::string parallel = ReadCsvAndRemove(Data("u"));
    EXPECT_EQ(single, parallel);
    // The header row and 40 entries, the replicated one first.
    EXPECT_EQ(std::count(single.begin(), single.end(), '"'), 2 * 17 * 41);
    EXPECT_NE(single.find("\"./sub1/entry0001.ChromLibEntry\""), std::string::npos);
    // The unknown replicates entry 5 (or what entry 5 replicates): such an entry heads the list, with both
    // matches near 1.
    const std::size_t first = single.find(std::string(kHeaderRow)) + std::string(kHeaderRow).size();
    EXPECT_NE(single.find("\"0.99", first), std::string::npos);
    EXPECT_LT(single.find("\"0.99", first), single.find("\r\n", first)) << single.substr(first, 300);
}

TEST_F(BatchSearch, InterruptStopsTheSearchAndStillWritesTheReport)
{
    CSyntheticLibraryShape shape;
    shape.Entries = 150;
    shape.Peaks = 200;
    shape.Lines = 40;
    shape.Seed = 5;
    const CSyntheticLibrary generator(shape);
    const std::string library = Data("large");
    generator.WriteLibrary(library);
    const std::string unknown = Data("i/unknown.ChromLibEntry");
    generator.MakeReplicate(3, 7)->SaveEntry(unknown);
    bool signaled = false;
    const BatchRun run = RunInterrupted({"/Search=" + unknown, "/Library=" + library, "/Threads=1"}, signaled);
    ASSERT_FALSE(signaled) << "the program did not handle SIGINT";
    if (run.ExitCode == 0)
        GTEST_SKIP() << "the search ended before the interrupt arrived";
    EXPECT_EQ(run.ExitCode, 130) << run.Err;
    const std::string text = ReadCsvAndRemove(Data("i"));
    const std::size_t table = text.find("Library Hits:\r\n" + std::string(kHeaderRow));
    ASSERT_NE(table, std::string::npos);
    const auto rows = std::count(text.begin() + static_cast<std::ptrdiff_t>(table), text.end(), '\n') - 2;
    EXPECT_LT(rows, 150) << text.substr(table, 2000);
}

// An interrupted search says so in its report (and on stderr), so the report cannot pass for a complete one.
TEST_F(BatchSearch, InterruptedReportSaysWhereTheSearchStopped)
{
    CSyntheticLibraryShape shape;
    shape.Entries = 150;
    shape.Peaks = 200;
    shape.Lines = 40;
    shape.Seed = 5;
    const CSyntheticLibrary generator(shape);
    generator.WriteLibrary(Data("large"));
    const std::string unknown = Data("s/unknown.ChromLibEntry");
    generator.MakeReplicate(3, 7)->SaveEntry(unknown);
    bool signaled = false;
    const BatchRun run = RunInterrupted({"/Search=" + unknown, "/Library=" + Data("large"), "/Threads=1"}, signaled);
    ASSERT_FALSE(signaled);
    if (run.ExitCode == 0)
        GTEST_SKIP() << "the search ended before the interrupt arrived";
    const std::string text = ReadCsvAndRemove(Data("s"));
    const std::regex line("\r\n\r\nSearch stopped after ([0-9]+) of 150 library entries\r\nLibrary Hits:\r\n");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, line)) << text.substr(0, 1200);
    const auto rows = std::count(text.begin() + m.position(0), text.end(), '\n') - 5; // the header row too
    EXPECT_EQ(std::to_string(rows), m[1].str());
    EXPECT_NE(run.Err.find(m[0].str().substr(4, m[0].str().size() - 4 - 17)), std::string::npos) << run.Err;
    // A complete search has no such line.
    Run({"/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_EQ(ReadCsvAndRemove(Data("")).find("Search stopped"), std::string::npos);
}

// Ctrl-C after the last entry, while the table and the report are written, still ends with the report.
TEST_F(BatchSearch, InterruptAfterTheSearchStillWritesTheReport)
{
    bool signaled = false;
    const BatchRun run =
        RunInterruptedAfterOutput({"/Search=" + m_unknownPath, "/Library=" + m_library}, "big.ChromLibEntry", signaled);
    EXPECT_FALSE(signaled) << "the program was ended by the interrupt";
    EXPECT_EQ(run.ExitCode, 130) << run.Err;
    EXPECT_NE(ReadCsvAndRemove(Data("")).find("\"a.ChromLibEntry\""), std::string::npos);
}

// A second search within the same minute never replaces the first report: it takes a free name and says which.
TEST_F(BatchSearch, ASecondReportInTheSameMinuteGetsAFreeName)
{
    std::vector<std::string> written;
    for (int i = 0; i < 3; ++i) {
        const BatchRun run = Run({"/Search=" + m_unknownPath, "/Library=" + m_library});
        const std::size_t at = run.Err.find("Report written to ");
        ASSERT_NE(at, std::string::npos) << run.Err;
        written.push_back(run.Err.substr(at + 18, run.Err.find('\n', at) - at - 18));
    }
    std::vector<std::string> csv;
    for (const auto& item : fs::directory_iterator(Data("")))
        if (item.path().extension() == ".csv")
            csv.push_back(item.path().string());
    std::sort(csv.begin(), csv.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(csv, written); // three files, each under the name printed: none was replaced
}

TEST_F(BatchSearch, HelpAndNothingToDo)
{
    const BatchRun help = Run({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("/Search="), std::string::npos);
    const BatchRun nothing = Run({"/Library=" + m_library});
    EXPECT_EQ(nothing.ExitCode, 1);
    EXPECT_NE(nothing.Err.find("usage:"), std::string::npos);
    const BatchRun noLibrary = Run({"/Search=" + m_unknownPath});
    EXPECT_EQ(noLibrary.ExitCode, 1);
    EXPECT_NE(noLibrary.Err.find("No library folder"), std::string::npos) << noLibrary.Err;
    const BatchRun refused = Run({"/Weight=9", "/Search=" + m_unknownPath, "/Library=" + m_library});
    EXPECT_NE(refused.Err.find("/Weight=9"), std::string::npos) << refused.Err;
    EXPECT_NE(ReadCsvAndRemove(Data("")).find("\r\nWeighting: none\r\n"), std::string::npos);
}

} // namespace
