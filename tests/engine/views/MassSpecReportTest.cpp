// The mass spec match report: the 0.0005 display limit, marked entries only, every peak whatever the RT range,
// and the report's refusals.
#include <gtest/gtest.h>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MassSpecReport.h"
#include "tests/support/RecordingMessageSink.h"

using namespace corvelin;

namespace {

// A spectrum whose first line is mass 100 at intensity 1 and whose other lines (masses 200, 201, ... or 300,
// 301, ...) have the given intensities. Two such spectra share only mass 100, so their similarity is
// 1 / (sum of squares of one * sum of squares of the other).
CLibraryMassSpectrumData Spectrum(double firstOther, const std::vector<double>& others)
{
    CLibraryMassSpectrumData s;
    s.Points().emplace_back(100.0, 1.0, 1.0);
    double mass = firstOther;
    for (double v : others)
        s.Points().emplace_back(mass++, v, v);
    return s;
}

TEST(MassSpecReport, CellsShowTheSimilarityFrom0_0005AndEveryPeak)
{
    CSearchOptions options;
    options.TimeRange = "1-2"; // not applied by the report
    // Sums of squares 1 + 25 + 9 + 4 + 1 = 40 and 1 + 49 = 50.
    options.AddSpectrum("forty", Spectrum(200, {5, 3, 2, 1}), true);
    options.AddSpectrum("unmarked", Spectrum(200, {5}), false);
    options.AddSpectrum("fifty", Spectrum(200, {7}), true);

    CLibraryChromatogram c;
    CLibraryChromatogramPeakData& peak = c.AddPeak();
    peak.RT = 10.0;
    peak.Spectrum = Spectrum(300, {7}); // sum of squares 50
    c.AddPeak().RT = 12.346;

    CReportTable table;
    SetUpMassSpecReportColumns(table);
    FillMassSpecReport(c, options, table);
    ASSERT_EQ(table.ColumnCount(), 3);
    EXPECT_EQ(table.Header(0), "RT");
    EXPECT_EQ(table.Header(1), "forty");
    EXPECT_EQ(table.Header(2), "fifty");
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cell(0, 0), "10.00");
    EXPECT_EQ(table.Cell(0, 1), "0.001") << "1 / 2000 = 0.0005 is shown";
    EXPECT_EQ(table.Cell(0, 2), " ") << "1 / 2500 = 0.0004 is blank";
    EXPECT_EQ(table.Cell(1, 0), "12.35");
}

TEST(MassSpecReport, NoMarkedEntryGivesOnlyTheRTColumn)
{
    CSearchOptions options;
    options.AddSpectrum("unmarked", Spectrum(200, {5}), false);
    CLibraryChromatogram c;
    c.AddPeak().RT = 1;
    CReportTable table;
    SetUpMassSpecReportColumns(table);
    FillMassSpecReport(c, options, table);
    EXPECT_EQ(table.ColumnCount(), 1);
    EXPECT_EQ(table.RowCount(), 1);
}

TEST(MassSpecReport, RefusalsAndAnUnreadableFile)
{
    CSearchOptions options;
    CReportTable table;
    SetUpMassSpecReportColumns(table);
    RecordingMessageSink sink;
    EXPECT_EQ(BuildMassSpecReport("/x", options, table), MassSpecReportOutcome::NoSpectra);
    options.AddSpectrum("s", Spectrum(200, {5}), true);
    EXPECT_EQ(BuildMassSpecReport("", options, table), MassSpecReportOutcome::MissingPath);
    EXPECT_EQ(BuildMassSpecReport("/no/such/file.raw", options, table), MassSpecReportOutcome::Unreadable);
    const std::vector<std::string> texts = sink.Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "There are no search parameter mass specs to report the matches");
    EXPECT_EQ(texts[1], "Please select a chromatogram!");
    const std::string text = "Error reading from Chromatogram file '/no/such/file.raw'";
    EXPECT_EQ(texts.back().substr(0, texts.back().find('\n')), text); // then the reader's reason, if it gave one
    ASSERT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cell(0, 0), text);
}

} // namespace
