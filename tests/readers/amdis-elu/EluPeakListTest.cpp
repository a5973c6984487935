#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "readers/amdis-elu/EluParser.h"
#include "readers/amdis-elu/EluPeakList.h"

using namespace corvelin;

using namespace amdis;

namespace {

// Scan times follow RT = 5.0 + 0.01 x scan exactly; components are written out of RT order.
// Areas: A has XN and RA, B has XN and RA, C has IS only, D has only its RE profile.
// Total from XN x 100 / RA: A 100000, B 100000, D none, C none -> median 100000.
const char* kRun = "NAME: |SC40|CN3|FR36-45|RT5.4000|RA3.0|IS2500|XN3000\n"
                   "RE\n"
                   "100 700 400 0\n"
                   "NUM PEAKS: 2\n"
                   "(73,999 )(147,500 )\n"
                   "\n"
                   "NAME: |SC20|CN2|FR15-27|RT5.2000|RA1.0|IS900|XN1000\n"
                   "RE\n"
                   "50 300 200\n"
                   "NUM PEAKS: 6\n"
                   "(60,500 )(50,999 )(0,50 )\n"
                   "(60,800 )(55,100 N0.3)(90,20 B0.1)\n"
                   "\n"
                   "NAME: |SC10|CN1|FR8-11|RT5.1000|IS400\n"
                   "NUM PEAKS: 1\n"
                   "(40,999 )\n"
                   "\n"
                   "NAME: |SC60|CN4|FR58-61|RT5.6000\n"
                   "RE\n"
                   "10 60 20 10\n"
                   "NUM PEAKS: 1\n"
                   "(41,999 )\n";

CLibraryChromatogram Read(const EluReadOptions& options = {}, const std::string& text = kRun)
{
    CLibraryChromatogram chromatogram;
    FillChromatogram(ParseElu(text), options, "/data/run 7/0709_468.ELU", chromatogram);
    return chromatogram;
}

TEST(EluPeakList, ScanClockIsTheLeastSquaresLineOverTheComponents)
{
    const ScanClock clock = DeriveScanClock(ParseElu(kRun).components);
    EXPECT_NEAR(clock.interval, 0.01, 1e-12);
    EXPECT_NEAR(clock.offset, 5.0, 1e-9);

    // Jittered apex times (AMDIS places the apex between scans) still give the mean interval.
    const ScanClock jittered =
        DeriveScanClock(ParseElu("NAME: |SC100|RT6.0020\nNUM PEAKS: 0\nNAME: |SC300|RT7.9980\nNUM PEAKS: 0\n"
                                 "NAME: |SC500|RT10.0020\nNUM PEAKS: 0\nNAME: |SC700|RT11.9980\nNUM PEAKS: 0\n")
                            .components);
    EXPECT_NEAR(jittered.interval, 0.01, 2e-5);
}

TEST(EluPeakList, ScanClockIsUnknownWithoutTwoDistinctScans)
{
    EXPECT_FALSE(DeriveScanClock(ParseElu("NAME: |SC8|RT5.5\nNUM PEAKS: 0\n").components).Known());
    EXPECT_FALSE(
        DeriveScanClock(ParseElu("NAME: |SC8|RT5.5\nNUM PEAKS: 0\nNAME: |SC8|RT5.5\nNUM PEAKS: 0\n").components)
            .Known());
    // Time running backwards is no clock either.
    EXPECT_FALSE(
        DeriveScanClock(ParseElu("NAME: |SC8|RT5.5\nNUM PEAKS: 0\nNAME: |SC9|RT5.4\nNUM PEAKS: 0\n").components)
            .Known());
}

TEST(EluPeakList, PeaksAreOrderedByRtWithAreaHeightStartAndEnd)
{
    const CLibraryChromatogram c = Read();
    ASSERT_EQ(c.PeakCount, 4);
    ASSERT_EQ(c.Peaks.size(), 4u);
    const double rts[] = {5.1, 5.2, 5.4, 5.6};
    const double areas[] = {400, 1000, 3000, 100};    // IS, XN, XN, sum of RE
    const double heights[] = {200, 300, 700, 60};     // C: triangle 2 x 400 / 4 scans
    const double starts[] = {5.08, 5.15, 5.36, 5.58}; // RT - (SC - first) x interval
    const double ends[] = {5.11, 5.27, 5.45, 5.61};   // RT + (last - SC) x interval
    for (int i = 0; i < 4; ++i) {
        const CLibraryChromatogramPeakData& p = *c.GetPeak(i);
        EXPECT_EQ(p.PeakNumber, i + 1);
        EXPECT_DOUBLE_EQ(p.RT, rts[i]) << i;
        EXPECT_DOUBLE_EQ(p.Area, areas[i]) << i;
        EXPECT_DOUBLE_EQ(p.Height, heights[i]) << i;
        EXPECT_NEAR(p.StartRT, starts[i], 1e-9) << i;
        EXPECT_NEAR(p.EndRT, ends[i], 1e-9) << i;
        EXPECT_EQ(p.RI, -1);
    }
    EXPECT_DOUBLE_EQ(c.TotalArea, 100000);
    EXPECT_DOUBLE_EQ(c.TotalHeight, 200 + 300 + 700 + 60);
    // Area % is AMDIS's own RA for the components that carry one.
    EXPECT_DOUBLE_EQ(c.GetPeak(1)->Area * 100 / c.TotalArea, 1.0);
    EXPECT_DOUBLE_EQ(c.GetPeak(2)->Area * 100 / c.TotalArea, 3.0);
    EXPECT_EQ(c.DataFile, "/data/run 7/0709_468.ELU");
    EXPECT_EQ(c.SampleName, "0709_468");
}

TEST(EluPeakList, MinimumAreaPercentDropsSmallComponentsButKeepsTheTotals)
{
    EluReadOptions options;
    options.minAreaPercent = 0.5; // 400 and 100 of 100000 fall below
    const CLibraryChromatogram c = Read(options);
    ASSERT_EQ(c.PeakCount, 2);
    EXPECT_DOUBLE_EQ(c.GetPeak(0)->RT, 5.2);
    EXPECT_EQ(c.GetPeak(0)->PeakNumber, 1);
    EXPECT_DOUBLE_EQ(c.GetPeak(1)->RT, 5.4);
    EXPECT_DOUBLE_EQ(c.TotalArea, 100000);
    EXPECT_DOUBLE_EQ(c.TotalHeight, 1260);
}

TEST(EluPeakList, SpectrumDropsFlaggedLinesAndBadMassesMergesDuplicatesAndWeights)
{
    const CLibraryChromatogram c = Read();
    const CLibraryMassSpectrumData& s = c.GetPeak(1)->Spectrum; // the SC20 component
    ASSERT_EQ(s.GetCount(), 2u);
    EXPECT_DOUBLE_EQ(s.GetPoint(0)->Mass, 50);
    EXPECT_DOUBLE_EQ(s.GetPoint(0)->Intensity, 100);
    EXPECT_DOUBLE_EQ(s.GetPoint(1)->Mass, 60);
    EXPECT_NEAR(s.GetPoint(1)->Intensity, 800 * 100.0 / 999, 1e-12); // the larger of the two 60 lines
    const double raw50 = std::pow(50, 1.5) * std::pow(100, 0.6);
    const double raw60 = std::pow(60, 1.5) * std::pow(800 * 100.0 / 999, 0.6);
    EXPECT_NEAR(s.GetPoint(1)->WeightedIntensity, 100, 1e-9);
    EXPECT_NEAR(s.GetPoint(0)->WeightedIntensity, raw50 / raw60 * 100, 1e-9);
}

TEST(EluPeakList, KeepingFlaggedLinesTakesThemInMassOrder)
{
    EluReadOptions options;
    options.keepFlaggedLines = true;
    const CLibraryChromatogram c = Read(options);
    const CLibraryMassSpectrumData& s = c.GetPeak(1)->Spectrum;
    ASSERT_EQ(s.GetCount(), 4u);
    const double masses[] = {50, 55, 60, 90};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(s.GetPoint(i)->Mass, masses[i]);
    EXPECT_NEAR(s.GetPoint(1)->Intensity, 100 * 100.0 / 999, 1e-12);
}

TEST(EluPeakList, SpectrumOfOnlyFlaggedOrZeroLinesIsWellDefined)
{
    CLibraryMassSpectrumData s;
    BuildSpectrum({{50, 10, "N0.2"}}, false, s);
    EXPECT_EQ(s.GetCount(), 0u);
    BuildSpectrum({{50, 0, ""}, {51, 0, ""}}, false, s);
    ASSERT_EQ(s.GetCount(), 2u);
    EXPECT_EQ(s.GetPoint(0)->Intensity, 0);
    EXPECT_EQ(s.GetPoint(1)->WeightedIntensity, 0);
}

TEST(EluPeakList, WithoutAClockStartAndEndAreTheApexAndTheTotalIsTheAreaSum)
{
    const CLibraryChromatogram c = Read({}, "NAME: |SC8|FR2-20|RT5.5|IS300\nRE\n100 200\nNUM PEAKS: 0\n");
    ASSERT_EQ(c.PeakCount, 1);
    EXPECT_DOUBLE_EQ(c.GetPeak(0)->StartRT, 5.5);
    EXPECT_DOUBLE_EQ(c.GetPeak(0)->EndRT, 5.5);
    EXPECT_DOUBLE_EQ(c.TotalArea, 300);
    EXPECT_DOUBLE_EQ(c.TotalHeight, 200);
}

TEST(EluPeakList, ComponentWithoutRtTakesItFromTheClock)
{
    const CLibraryChromatogram c =
        Read({}, "NAME: |SC10|RT5.1\nNUM PEAKS: 0\nNAME: |SC30|RT5.3\nNUM PEAKS: 0\nNAME: |SC20\nNUM PEAKS: 0\n");
    ASSERT_EQ(c.PeakCount, 3);
    EXPECT_NEAR(c.GetPeak(1)->RT, 5.2, 1e-9);
}

TEST(EluPeakList, EmptyFileGivesAnEmptyChromatogram)
{
    const CLibraryChromatogram c = Read({}, "");
    EXPECT_EQ(c.PeakCount, 0);
    EXPECT_EQ(c.TotalArea, 0);
    EXPECT_EQ(c.TotalHeight, 0);
}

} // namespace
