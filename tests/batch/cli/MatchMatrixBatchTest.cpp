// The match matrix through corvelinscope-batch: the table's CSV bytes, the RT search range, the failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "tests/batch/cli/BatchFixture.h"

using namespace corvelin;

namespace {

class BatchMatchMatrix : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        m_this = Data("this.ChromLibEntry");
        m_other = Data("other.ChromLibEntry");
        MakeTestChromatogram("T", {{1.0, 100}, {2.0, 200}, {3.0, 300}})->SaveEntry(m_this);
        MakeTestChromatogram("O", {{1.0, 100}, {2.0, 200}, {3.0, 300}, {5.0, 50}})->SaveEntry(m_other);
    }
    std::string m_this, m_other;
};

TEST_F(BatchMatchMatrix, WritesTheTableAsCsvBytes)
{
    // One column per "this" peak, one row per "other" peak; the identical peaks pair with 1, nothing else.
    const std::string expected = "\"RT\",\"1.00\",\"2.00\",\"3.00\",\r\n"
                                 "\"1.00\",\"1.000\",\"\",\"\",\r\n"
                                 "\"2.00\",\"\",\"1.000\",\"\",\r\n"
                                 "\"3.00\",\"\",\"\",\"1.000\",\r\n"
                                 "\"5.00\",\"\",\"\",\"\",\r\n";
    const BatchRun toStdout = Run({"/MatchMatrix=" + m_this, "/MatrixOther=" + m_other});
    ASSERT_EQ(toStdout.ExitCode, 0) << toStdout.Err;
    EXPECT_EQ(toStdout.Out, expected);

    const std::string csv = Data("matrix.csv");
    const BatchRun toFile = Run({"/MatchMatrix=" + m_this, "/MatrixOther=" + m_other, "/MatrixCsv=" + csv});
    ASSERT_EQ(toFile.ExitCode, 0) << toFile.Err;
    EXPECT_EQ(ReadAllText(csv), expected);
    // The command's own keywords are known: nothing is "Ignored".
    for (const BatchRun* run : {&toStdout, &toFile})
        EXPECT_EQ(run->Err.find("Ignored"), std::string::npos) << run->Err;

    const BatchRun ranged = Run({"/RTRange=1.5-4", "/MatchMatrix=" + m_this, "/MatrixOther=" + m_other});
    ASSERT_EQ(ranged.ExitCode, 0) << ranged.Err;
    EXPECT_EQ(ranged.Out, "\"RT\",\"2.00\",\"3.00\",\r\n"
                          "\"2.00\",\"1.000\",\"\",\r\n"
                          "\"3.00\",\"\",\"1.000\",\r\n");
}

TEST_F(BatchMatchMatrix, MissingOrUnreadableFilesEndWithTheirCodes)
{
    const BatchRun alone = Run({"/MatchMatrix=" + m_this});
    EXPECT_EQ(alone.ExitCode, 1);
    EXPECT_TRUE(alone.Out.empty());
    const std::string missing = Data("missing.ChromLibEntry");
    const BatchRun unreadable = Run({"/MatchMatrix=" + m_this, "/MatrixOther=" + missing});
    EXPECT_EQ(unreadable.ExitCode, 2);
    EXPECT_NE(unreadable.Err.find("Error reading file " + missing), std::string::npos) << unreadable.Err;
    EXPECT_TRUE(unreadable.Out.empty());
}

// A file of more peaks than the comparison views take ends both of them with exit 3 and the limit named, before
// any cell table is made; nothing is written.
TEST_F(BatchMatchMatrix, FilesBeyondThePeakLimitEndWithCode3)
{
    std::vector<std::pair<double, double>> peaks(5001, {1.0, 10});
    const std::string big = Data("big.ChromLibEntry"), csv = Data("out.csv");
    MakeTestChromatogram("Big", peaks)->SaveEntry(big);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/MatchMatrix=" + big, "/MatrixOther=" + m_this, "/MatrixCsv=" + csv},
          std::vector<std::string>{"/PeakTable=" + m_this, "/PeakTableOther=" + big, "/PeakTableCsv=" + csv}}) {
        const BatchRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 3) << args[0] << run.Err;
        EXPECT_NE(run.Err.find("has 5001 peaks; the match matrix and the peak match table compare at most 5000"),
                  std::string::npos)
            << run.Err;
        EXPECT_FALSE(std::filesystem::exists(csv));
    }
}

} // namespace
