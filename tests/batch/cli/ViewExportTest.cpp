// corvelinscope-batch writing the peak match table and the mass spec match report as CSV: the files byte for
// byte against texts built here from the documented layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include <filesystem>

#include "tests/support/TempDir.h"
#include "tests/batch/cli/BatchFixture.h"

using namespace corvelin;

namespace {

std::string F(const char* format, double v)
{
    char b[64];
    std::snprintf(b, sizeof b, format, v);
    return b;
}

std::string Line(const std::vector<std::string>& fields)
{
    std::string line;
    for (const auto& f : fields)
        line += "\"" + f + "\",";
    return line + "\r\n";
}

class ViewExport : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        m_this = Data("runs/this.ChromLibEntry");
        m_other = Data("runs/other.ChromLibEntry");
        m_thisRun = MakeTestChromatogram("This run", {{2.0, 100}, {4.0, 300}, {6.0, 250}, {9.0, 50}});
        m_thisRun->SaveEntry(m_this);
        MakeTestChromatogram("Other run", {{2.02, 120}, {4.0, 280}, {7.5, 200}})->SaveEntry(m_other);
    }

    std::string Params(const CSearchOptions& options) const
    {
        const std::string path = Data("compare.spf");
        EXPECT_TRUE(WriteParameterFile(options, path));
        return path;
    }

    std::string m_this;
    std::string m_other;
    std::unique_ptr<CLibraryChromatogram> m_thisRun;
};

// Shown columns and their order come from the stored arrangement of "MatchTable".
TEST_F(ViewExport, PeakTableCsvHasTheHeadTheParametersAndTheArrangedColumns)
{
    WriteUserInt("MatchTable", "UsedColumnCount", 4);
    const int columns[] = {10, 0, 18, 19};
    for (int i = 0; i < 4; ++i) {
        WriteUserInt("MatchTable", ("Column" + std::to_string(i)).c_str(), columns[i]);
        WriteUserInt("MatchTable", ("ColumnWidth" + std::to_string(i)).c_str(), 60);
    }
    CSearchOptions options;
    options.MSMatching = 1;
    options.RTMatching = 1;
    options.RTWindowWidth = 0.1;
    const std::string csv = Data("table.csv");
    const BatchRun run = Run(
        {"/Params=" + Params(options), "/PeakTable=" + m_this, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + csv});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;

    // Same spectra on both sides (they derive from the peak's index), so each pair's value is its RT factor.
    const double rt1 = std::pow(0.01, (0.02 / 0.1) * (0.02 / 0.1));
    std::string expected = "Peak compare table for = " + m_this + " (this) and " + m_other +
                           " (other)\r\n"
                           "\r\n"
                           "Sample name (this) = This run\r\n"
                           "Number of peaks (this) = 4\r\n"
                           "\r\n"
                           "Sample name (other) Other run\r\n"
                           "Number of peaks (other) = 3\r\n"
                           "\r\n"
                           "Compare parameters:\r\n"
                           "MS matching = Yes\r\n"
                           "RT matching = Yes\r\n"
                           "RI matching = No\r\n"
                           "Area matching = No\r\n"
                           "Height matching = No\r\n"
                           "Area/Height compare option = relative area/height\r\n"
                           "\r\n"
                           "RT search range: *\r\n"
                           "Weighting: none\r\n"
                           "RT window width: 0.10\r\n"
                           "Mass Threshold used: No\r\n"
                           "Area Threshold used: No\r\n"
                           "\r\n"
                           "Peak compare table:\r\n";
    expected += Line({"Peak num (other)", "RT (this)", "Match value", "RT match"});
    expected += Line({" 1", "2.00", F("%.3f", rt1), F("%.3f", rt1)});
    expected += Line({" 2", "4.00", "1.000", "1.000"});
    expected += Line({"-", "6.00", "", ""});
    expected += Line({"-", "9.00", "", ""});
    expected += Line({" 3", "-", "", ""});
    EXPECT_EQ(ReadAllText(csv), expected);
}

TEST_F(ViewExport, PeakTableRefusalsEndWithoutAFile)
{
    CSearchOptions options;
    options.MultipleMatching = 1;
    const std::string csv = Data("refused.csv");
    BatchRun run = Run(
        {"/Params=" + Params(options), "/PeakTable=" + m_this, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + csv});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("requires multiple matching to be disabled"), std::string::npos) << run.Err;
    run = Run({"/PeakTable=" + m_this, "/PeakTableOther=" + Data("missing.ChromLibEntry"), "/PeakTableCsv=" + csv});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("Error reading file " + Data("missing.ChromLibEntry")), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(csv));
}

// A CSV named like one of the inputs is refused and the input stays; what a reader says about the rows it
// left out of an input reaches stderr although the input was read.
TEST_F(ViewExport, OutputsNeverReplaceAnInputAndReadersWarningsAreShown)
{
    const std::string before = ReadAllText(m_this);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/PeakTable=" + m_this, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + m_this},
          std::vector<std::string>{"/MatchMatrix=" + m_this, "/MatrixOther=" + m_other,
                                   "/MatrixCsv=" + Data("runs/./this.ChromLibEntry")}}) {
        const BatchRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 4) << args.back();
        EXPECT_NE(run.Err.find("would replace one of its inputs"), std::string::npos) << run.Err;
        EXPECT_EQ(ReadAllText(m_this), before);
    }

    RegisterReader("PeakTableTsv", "Peak Table (TSV)", CORVELIN_PEAK_TABLE_READER, ".tsv");
    const std::string table = Data("runs/table.tsv");
    WriteAllText(table, "RT\tSpectrum\tArea\tHeight\n2\t73:100\t100\t10\n3\t73:100\t-5\t10\n4\t74:100\t300\t30\n");
    const BatchRun run = Run({"/PeakTable=" + table, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + Data("t.csv")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Err.find("1 rows of '" + table + "' were left out:\nline 3: the area '-5' is negative"),
              std::string::npos)
        << run.Err;
}

// An input beyond a reader's bound (a peak table over its size limit) ends like one with too many peaks, exit 3,
// and the message names the limit: as a compared file and as the search's unknown.
TEST_F(ViewExport, AnInputBeyondAReadersBoundEndsWithCode3NamingTheLimit)
{
    RegisterReader("PeakTableTsv", "Peak Table (TSV)", CORVELIN_PEAK_TABLE_READER, ".tsv");
    const std::string huge = Data("runs/huge.tsv");
    WriteAllText(huge, "RT\tSpectrum\n");
    std::filesystem::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    const std::string library = Data("lib");
    std::filesystem::create_directories(library);
    std::filesystem::copy_file(m_other, library + "/other.ChromLibEntry");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/PeakTable=" + huge, "/PeakTableOther=" + m_other,
                                   "/PeakTableCsv=" + Data("h.csv")},
          std::vector<std::string>{"/Search=" + huge, "/Library=" + library, "/Out=" + Data("h-report.csv")}}) {
        const BatchRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 3) << args.front() << "\n" << run.Err;
        EXPECT_NE(run.Err.find("the limit is 64 MB"), std::string::npos) << run.Err;
    }
}

// Marked spectra only, every peak, a blank below 0.0005; the CSV goes to stdout without /MSReportCsv=.
TEST_F(ViewExport, MassSpecReportToStdout)
{
    CSearchOptions options;
    options.TimeRange = "1-3"; // not applied by the report
    options.AddSpectrum("first peak", m_thisRun->Peaks[0]->Spectrum, true);
    options.AddSpectrum("not marked", m_thisRun->Peaks[1]->Spectrum, false);
    CLibraryMassSpectrumData far;
    far.Points().emplace_back(900.0, 100.0, 100.0);
    options.AddSpectrum("nothing alike", far, true);
    const BatchRun run = Run({"/Params=" + Params(options), "/MSReport=" + m_this});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;

    std::string expected = Line({"RT", "first peak", "nothing alike"});
    for (const auto& peak : m_thisRun->Peaks) {
        const double fit = MSMatch(m_thisRun->Peaks[0]->Spectrum, peak->Spectrum, 0.0);
        expected += Line({F("%.2f", peak->RT), fit >= 0.0005 ? F("%.3f", fit) : " ", " "});
    }
    EXPECT_EQ(run.Out, expected);
}

// A CSV that standard output does not take is a report not written (4), also when the failure shows only at the
// final flush: the few hundred bytes of the report fit the stream's buffer.
TEST_F(ViewExport, FullStandardOutputIsAReportNotWritten)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CSearchOptions options;
    options.AddSpectrum("first peak", m_thisRun->Peaks[0]->Spectrum, true);
    const BatchRun run = RunWithStdout({"/Params=" + Params(options), "/MSReport=" + m_this}, "/dev/full");
    EXPECT_EQ(run.ExitCode, 4) << run.Err;
    EXPECT_NE(run.Err.find("Could not write to standard output: No space left on device"), std::string::npos)
        << run.Err;
}

// A foreign chromatogram without an RI table is refused under RI matching until the options carry one; then
// its RI values come from the options' table.
TEST_F(ViewExport, ForeignRunsTakeTheOptionsRITableUnderRIMatching)
{
    auto foreign = MakeTestChromatogram("Foreign", {{2.0, 100}, {6.0, 300}});
    foreign->RICalibration.Clear();
    const std::string raw = Data("runs/foreign.raw");
    foreign->SaveEntry(raw);
    WriteUserInt("MatchTable", "UsedColumnCount", 2);
    WriteUserInt("MatchTable", "Column0", 0);
    WriteUserInt("MatchTable", "ColumnWidth0", 50);
    WriteUserInt("MatchTable", "Column1", 8);
    WriteUserInt("MatchTable", "ColumnWidth1", 50);

    CSearchOptions options;
    options.RIMatching = 1;
    const std::string csv = Data("ri.csv");
    BatchRun run =
        Run({"/Params=" + Params(options), "/PeakTable=" + raw, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + csv});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("Insufficient RI calibration data for file " + raw), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(csv));

    for (const auto& [rt, ri] : {std::pair{1.0, 700.0}, std::pair{11.0, 1700.0}}) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->RT = rt;
        point->RI = ri;
        options.RICalibration().AddPoint(std::move(point));
    }
    run =
        Run({"/Params=" + Params(options), "/PeakTable=" + raw, "/PeakTableOther=" + m_other, "/PeakTableCsv=" + csv});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string text = ReadAllText(csv);
    const std::string table = text.substr(text.find("Peak compare table:\r\n") + 21);
    // The peaks' RI values are the options' table at their RTs.
    const std::string ri2 = F("%.1f", options.RICalibration().ComputeRI(2.0));
    const std::string ri6 = F("%.1f", options.RICalibration().ComputeRI(6.0));
    EXPECT_NE(ri2, "-1.0");
    EXPECT_EQ(table.substr(0, table.find("\r\n", table.find("\r\n") + 2) + 2),
              Line({"RT (this)", "RI (this)"}) + Line({"2.00", ri2}));
    EXPECT_NE(table.find(Line({"6.00", ri6})), std::string::npos) << table;
}

} // namespace
