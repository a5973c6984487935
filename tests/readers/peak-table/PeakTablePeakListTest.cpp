// The peak list made from a table: values the table lacks, the table's RIs and the calibration it carries.
#include <gtest/gtest.h>

#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/PeakTablePeakList.h"
#include "readers/peak-table/TableRICalibration.h"

using namespace corvelin;
using namespace corvelin::peaktable;

namespace {

CLibraryChromatogram Read(const std::string& text, double minAreaPercent = 0)
{
    CLibraryChromatogram chromatogram;
    FillChromatogram(ParsePeakTable(text, LabColumns{}), minAreaPercent, "/data/run7.txt", chromatogram);
    return chromatogram;
}

TEST(PeakTablePeakList, MissingAreaHeightAndEdgesAreMadeFromSpectrumAndNeighbours)
{
    // Rows out of RT order; no area, height, start or end columns.
    const CLibraryChromatogram c = Read("RT (min)\tSpectrum\n"
                                        "5.01\t73:30 147:10\n"
                                        "5.00\t73:200 100:50\n"
                                        "9.00\t50:4\n");
    ASSERT_EQ(c.PeakCount, 3);
    const CLibraryChromatogramPeakData& first = *c.GetPeak(0);
    EXPECT_DOUBLE_EQ(first.RT, 5.00);
    EXPECT_DOUBLE_EQ(first.Area, 250);   // sum of the raw intensities
    EXPECT_DOUBLE_EQ(first.Height, 200); // largest raw intensity
    EXPECT_DOUBLE_EQ(c.TotalArea, 294);  // every row's share: Area % adds up to 100
    EXPECT_DOUBLE_EQ(c.TotalHeight, 234);
    EXPECT_NEAR(first.StartRT, 5.00 - kHalfWidth, 1e-12); // no neighbour before: the fixed half-width
    EXPECT_NEAR(first.EndRT, 5.005, 1e-12);               // halfway to the next row
    EXPECT_NEAR(c.GetPeak(1)->StartRT, 5.005, 1e-12);
    EXPECT_NEAR(c.GetPeak(1)->EndRT, 5.01 + kHalfWidth, 1e-12);  // the next row is further than the half-width
    EXPECT_DOUBLE_EQ(first.Spectrum.GetPoint(1)->Intensity, 25); // percent of the largest line
    EXPECT_EQ(c.GetPeak(2)->PeakNumber, 3);
    EXPECT_EQ(c.SampleName, "run7");
    EXPECT_EQ(c.RICalibration.GetCount(), 0u); // no RI column: the program's RI table applies
    EXPECT_DOUBLE_EQ(first.RI, -1);
}

TEST(PeakTablePeakList, MinimumAreaLeavesRowsOutButKeepsTheTotals)
{
    const CLibraryChromatogram c = Read("RT\tArea\tHeight\tStart\tEnd\tSpectrum\n"
                                        "5\t990\t50\t4.9\t5.2\t73:1\n"
                                        "6\t10\t5\t5.95\t6.1\t73:1\n",
                                        2.0);
    ASSERT_EQ(c.PeakCount, 1);
    EXPECT_DOUBLE_EQ(c.TotalArea, 1000);
    EXPECT_DOUBLE_EQ(c.GetPeak(0)->StartRT, 4.9);
    EXPECT_DOUBLE_EQ(c.GetPeak(0)->EndRT, 5.2);
}

TEST(PeakTablePeakList, RowRIsMakeTheCalibrationAndFillRowsWithoutRI)
{
    // RI piecewise linear in RT with a bend at 6 min; the row at 5.5 min has RI 0 (not calibrated).
    const CLibraryChromatogram c = Read("RT\tRI\tSpectrum\n"
                                        "4\t1000\t73:1\n5\t1100\t73:1\n5.5\t0\t73:1\n6\t1200\t73:1\n"
                                        "7\t1250\t73:1\n8\t1300\t73:1\n");
    const CLibraryRICalibrationData& table = c.RICalibration;
    ASSERT_EQ(table.GetCount(), 3u); // the ends and the bend
    EXPECT_DOUBLE_EQ(table.GetPoint(1).GetRT(), 6);
    EXPECT_NE(table.GetCalculationOption(), 0); // linear
    EXPECT_DOUBLE_EQ(c.GetPeak(2)->RI, 1150);
    EXPECT_DOUBLE_EQ(c.GetPeak(4)->RI, 1250);
}

TEST(PeakTableRICalibration, RIsThatDoNotRiseWithRTAreNoCalibration)
{
    CLibraryRICalibrationData table;
    EXPECT_FALSE(DeriveRICalibration({{5, 1100}, {6, 1050}}, table));
    EXPECT_FALSE(DeriveRICalibration({{5, 1100}, {5, 1101}}, table));
    EXPECT_FALSE(DeriveRICalibration({{5, 1100}}, table));
    EXPECT_EQ(table.GetCount(), 0u);
    // Within the tolerance a straight run of rows needs only its ends.
    ASSERT_TRUE(DeriveRICalibration({{1, 100}, {2, 200.01}, {3, 300}, {3, 300}}, table));
    EXPECT_EQ(table.GetCount(), 2u);
}

// 100,000 rows at one RT are grouped with one comparison per neighbouring pair (the edge search once per run of
// equal RTs, not once per row).
TEST(PeakTablePeakList, RowsSharingOneRTAreComparedOncePerNeighbour)
{
    const std::size_t n = 100000;
    std::size_t comparisons = 0;
    std::size_t lastOfFirstRun = 0;
    ForEachEqualRun(
        n, [&](std::size_t, std::size_t b) { return ++comparisons, b < n - 1; },
        [&](std::size_t first, std::size_t last) { lastOfFirstRun = first == 0 ? last : lastOfFirstRun; });
    EXPECT_EQ(comparisons, n - 1);
    EXPECT_EQ(lastOfFirstRun, n - 2);
}

} // namespace
