// corvelinscope-batch multi-file peak summaries of generated entries: the summary CSV byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include "tests/batch/cli/BatchFixture.h"

using namespace corvelin;

namespace {

// The parameter block of the record's default options with an RT window width, as the file spells it.
std::string Parameters(const char* rtWindow)
{
    return std::string("Search Parameter:\r\nMS matching = Yes\r\nRT matching = Yes\r\n"
                       "RI matching = No\r\nArea matching = No\r\nHeight matching = No\r\n"
                       "Area/Height compare option = relative area/height\r\nRT search range: *\r\n"
                       "Allow multiple matching = No\r\nWeighting: none\r\nRT window width: ") +
           rtWindow + "\r\nMass Threshold used: No\r\nArea Threshold used: No\r\n\r\n";
}

class BatchSummary : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        // Peak i of every run has the same spectrum; spectra of different i share no mass.
        MakeTestChromatogram("A", {{2.00, 100}, {5.00, 300}})->SaveEntry(Data("runs/a.ChromLibEntry"));
        MakeTestChromatogram("B", {{2.01, 120}, {5.01, 330}})->SaveEntry(Data("runs/b.ChromLibEntry"));
        MakeTestChromatogram("C", {{1.99, 90}, {7.00, 40}})->SaveEntry(Data("runs/sub/c.ChromLibEntry"));
        WriteAllText(Data("runs/notes.txt"), "not a chromatogram");
    }
};

} // namespace

TEST_F(BatchSummary, FolderAndFileInputsGiveThePageCsv)
{
    const std::string out = Data("summary.csv");
    const BatchRun run =
        Run({"/Summary=" + out, "/SummaryOf=" + Data("runs"), "/SummaryOf=" + Data("runs/sub/c.ChromLibEntry"),
             "/SummaryOf=" + Data("runs/a.ChromLibEntry")});
    ASSERT_EQ(0, run.ExitCode) << run.Err;
    const std::string expected =
        std::string("Corvelinscope multiple file peak summary results\r\n\r\n") +
        Parameters("0.50") + // the start-up options' default
        "Values shown: Area\r\n\r\nResults:\r\n"
        "\"File Path\",\"Sample Name\",\"RT 2.00, ID 1\",\"RT 5.00, ID 2\",\"RT 7.00, ID 3\",\r\n"
        "\"a.ChromLibEntry\",\"A\",\"100\",\"300\",\"\",\r\n"
        "\"b.ChromLibEntry\",\"B\",\"120\",\"330\",\"\",\r\n"
        "\"sub/c.ChromLibEntry\",\"C\",\"90\",\"\",\"40\",\r\n";
    EXPECT_EQ(expected, ReadAllText(out));
}

TEST_F(BatchSummary, ShowOptionFromTheParameterFileAndFailures)
{
    CSearchOptions options;
    options.SummaryDisplayOption = 3;
    ASSERT_TRUE(WriteParameterFile(options, Data("quartiles.spf")));
    const std::string out = Data("quartiles.csv");
    BatchRun run = Run({"/Params=" + Data("quartiles.spf"), "/Summary=" + out, "/SummaryOf=" + Data("runs"),
                        "/SummaryOf=" + Data("runs/sub")});
    ASSERT_EQ(0, run.ExitCode) << run.Err;
    const std::string expected =
        std::string("Corvelinscope multiple file peak summary results\r\n\r\n") +
        Parameters("0.10") + // the record's default, from the file
        "Values shown: Quartiles (Area)\r\n\r\nResults:\r\n"
        "\"File Path\",\"Sample Name\",\"RT 2.00, ID 1\",\"RT 5.00, ID 2\",\"RT 7.00, ID 3\",\r\n"
        "\"a.ChromLibEntry\",\"A\",\"Q3\",\"Minimum\",\"\",\r\n"
        "\"b.ChromLibEntry\",\"B\",\"Maximum\",\"Maximum\",\"\",\r\n"
        "\"sub/c.ChromLibEntry\",\"C\",\"Minimum\",\"\",\"Minimum\",\r\n";
    EXPECT_EQ(expected, ReadAllText(out));

    run = Run({"/Summary=" + m_dir.File("nowhere/x.csv"), "/SummaryOf=" + Data("runs")});
    EXPECT_EQ(4, run.ExitCode);
    EXPECT_NE(std::string::npos, run.Err.find("Please ensure that it is not opened, e.g. by Excel.")) << run.Err;
    run = Run({"/Summary=" + out, "/SummaryOf=" + Data("runs/notes.txt")});
    EXPECT_EQ(2, run.ExitCode); // no input could be read
    EXPECT_NE(std::string::npos, run.Err.find("Left out " + Data("runs/notes.txt") + ": it could not be read."))
        << run.Err;
}

// Every input left out is named with its reason; one file in three spellings is one row; an output that is one of
// the inputs is refused and the input stays as it was.
TEST_F(BatchSummary, LeftOutInputsAreNamedAndOneFileIsOneRow)
{
    std::filesystem::create_symlink(Data("runs/a.ChromLibEntry"), Data("link.ChromLibEntry"));
    BatchRun run = Run({"/Summary=" + Data("s.csv"), "/SummaryOf=" + Data("runs/a.ChromLibEntry"),
                        "/SummaryOf=" + Data("runs/../runs/./a.ChromLibEntry"),
                        "/SummaryOf=" + Data("link.ChromLibEntry"), "/SummaryOf=" + Data("runs/gone.raw")});
    ASSERT_EQ(0, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("Left out " + Data("runs/gone.raw") + ": No such file or directory."));
    const std::string csv = ReadAllText(Data("s.csv"));
    EXPECT_EQ(csv.find(",\"A\","), csv.rfind(",\"A\",")) << csv;
    EXPECT_EQ(2, Run({"/Summary=" + Data("s.csv"), "/SummaryOf=" + Data("gone.raw")}).ExitCode);

    const std::string before = ReadAllText(Data("runs/b.ChromLibEntry"));
    run = Run({"/Summary=" + Data("runs/./b.ChromLibEntry"), "/SummaryOf=" + Data("runs")});
    EXPECT_EQ(4, run.ExitCode);
    EXPECT_NE(std::string::npos, run.Err.find("would replace one of its inputs")) << run.Err;
    EXPECT_EQ(before, ReadAllText(Data("runs/b.ChromLibEntry")));
}

// A reader that throws while reading one input (a standard exception, or anything else) costs that input only: the
// job ends by itself, names the input as left out and writes the summary of the others.
TEST_F(BatchSummary, AReaderThatThrowsForOneInputLeavesOutThatInputOnly)
{
    MakeTestChromatogram("A", {{2.00, 100}})->SaveEntry(Data("faulty/a.raw"));
    WriteAllText(Data("faulty/b.raw"), "THROW std");
    WriteAllText(Data("faulty/c.raw"), "THROW");
    MakeTestChromatogram("D", {{2.01, 80}})->SaveEntry(Data("faulty/d.raw"));
    const BatchRun run = Run({"/Summary=" + Data("faulty.csv"), "/SummaryOf=" + Data("faulty")});
    ASSERT_EQ(0, run.ExitCode) << run.Err;
    for (const char* name : {"faulty/b.raw", "faulty/c.raw"})
        EXPECT_NE(std::string::npos, run.Err.find("Left out " + Data(name) + ": it could not be read.")) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("2 of 4 files read")) << run.Err;
    const std::string csv = ReadAllText(Data("faulty.csv"));
    EXPECT_NE(std::string::npos, csv.find("\"a.raw\",\"A\",\"100\",\r\n\"d.raw\",\"D\",\"80\",\r\n")) << csv;
}
