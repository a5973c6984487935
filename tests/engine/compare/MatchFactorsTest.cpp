// The single match factors and the pair value with its evaluation order and early stops.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/compare/MatchFactors.h"
#include "engine/compare/PairValue.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

using namespace corvelin;

namespace {

CLibraryChromatogramPeakData MakePeak(double rt, double ri, double area = 0, double height = 0)
{
    CLibraryChromatogramPeakData p;
    p.RT = rt;
    p.RI = ri;
    p.Area = area;
    p.Height = height;
    return p;
}

struct RetentionCase {
    double windows; // difference in window widths
    double expected;
};

class RetentionFactorTest : public ::testing::TestWithParam<RetentionCase> {};

TEST_P(RetentionFactorTest, FallsOffByWindowsAndIsCutAtThree)
{
    const auto [windows, expected] = GetParam();
    // Widths and times that are exact binary fractions, so the difference is exactly the stated multiple.
    for (double width : {0.0625, 0.125, 0.5, 16.0}) {
        CSearchOptions options;
        options.RTWindowWidth = width;
        options.RIWindowWidth = width;
        const double rt = 100.0;
        const double rtFactor = RTMatch(rt, rt + windows * width, options);
        const double riFactor = RIMatch(MakePeak(1, 1000), MakePeak(1, 1000 + windows * width), options);
        if (expected == 0) {
            EXPECT_EQ(rtFactor, 0) << "width " << width;
            EXPECT_EQ(riFactor, 0) << "width " << width;
        } else {
            EXPECT_NEAR(rtFactor / expected, 1.0, 1e-9) << "width " << width;
            EXPECT_NEAR(riFactor / expected, 1.0, 1e-9) << "width " << width;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, RetentionFactorTest,
                         ::testing::Values(RetentionCase{0, 1}, RetentionCase{1, 0.01}, RetentionCase{2, 1e-8},
                                           RetentionCase{3, 0}, RetentionCase{3.5, 0}, RetentionCase{-1, 0.01}));

TEST(RetentionFactor, JustInsideThreeWindowsIsTinyButNotZero)
{
    // 1000.15 - 1000 is a little below 0.15 in binary: still inside three windows of 0.05.
    CSearchOptions options;
    options.RTWindowWidth = 0.05;
    EXPECT_GT(RTMatch(1000.15, 1000, options), 0);
    EXPECT_GT(RetentionFactor(2.999, 1.0), 0);
    EXPECT_LT(RetentionFactor(2.999, 1.0), 1e-17);
    EXPECT_EQ(RetentionFactor(3.0, 1.0), 0);
    // A window width of 0 gives 0 even for no difference.
    EXPECT_EQ(RetentionFactor(0.0, 0.0), 0);
}

TEST(RTMatch, RetentionTimeNotAboveOneThousandthIsMissing)
{
    CSearchOptions options;
    options.RTWindowWidth = 0.1;
    EXPECT_EQ(RTMatch(0.0, 0.0, options), 0);
    EXPECT_EQ(RTMatch(0.001, 0.001, options), 0);
    EXPECT_EQ(RTMatch(5.0, 0.001, options), 0);
    EXPECT_EQ(RTMatch(0.0011, 0.0011, options), 1);
    EXPECT_EQ(RTMatch(5.0, 5.0, options), 1);
}

TEST(RIMatch, UncalibratedAndOldEntries)
{
    CSearchOptions options;
    EXPECT_EQ(RIMatch(MakePeak(1, -1), MakePeak(1, -1), options), 1);
    EXPECT_EQ(RIMatch(MakePeak(1, -1), MakePeak(1, 800), options), 0);
    EXPECT_EQ(RIMatch(MakePeak(1, 800), MakePeak(1, -1), options), 0);
    EXPECT_EQ(RIMatch(MakePeak(1, 0), MakePeak(1, 800), options), 0);
    EXPECT_EQ(RIMatch(MakePeak(1, 800), MakePeak(1, 800), options), 1);
}

struct SizeCase {
    double thisValue, thisTotal, otherValue, otherTotal;
    bool absolute;
    double expected;
};

class SizeFactorTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeFactorTest, AreaAndHeightGiveTheSmallerRatio)
{
    const SizeCase c = GetParam();
    CSearchOptions options;
    options.AbsoluteAreaHeight = c.absolute ? 1 : 0;
    const auto a = MakePeak(1, 1, c.thisValue, c.thisValue);
    const auto b = MakePeak(1, 1, c.otherValue, c.otherValue);
    EXPECT_DOUBLE_EQ(AreaMatch(a, b, options, c.thisTotal, c.otherTotal, 0, 0), c.expected);
    EXPECT_DOUBLE_EQ(HeightMatch(a, b, options, c.thisTotal, c.otherTotal), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeFactorTest,
    ::testing::Values(SizeCase{10, 100, 20, 100, false, 0.5}, SizeCase{10, 100, 20, 100, true, 0.5},
                      SizeCase{10, 100, 20, 400, false, 0.5}, SizeCase{10, 100, 20, 400, true, 0.5},
                      SizeCase{20, 400, 10, 100, false, 0.5}, SizeCase{10, 100, 10, 100, false, 1.0},
                      SizeCase{10, 0, 20, 100, false, 0}, SizeCase{10, 100, 20, 0, true, 0},
                      SizeCase{10, -5, 20, 100, true, 0}, SizeCase{0, 100, 20, 100, false, 0},
                      // A negative size on the other side is no agreement (never a negative factor).
                      SizeCase{10, 100, -20, 100, false, 0}, SizeCase{10, 100, -20, 100, true, 0}));

TEST(AreaMatch, UsesRangeSumsOnlyWhenBothAreNonZero)
{
    CSearchOptions options;
    const auto a = MakePeak(1, 1, 10, 0);
    const auto b = MakePeak(1, 1, 30, 0);
    // In-range sums 10 and 30 make both relative areas 1.
    EXPECT_DOUBLE_EQ(AreaMatch(a, b, options, 100, 40, 10, 30), 1.0);
    // One range sum 0: relative to the totals, 0.1 against 0.75.
    EXPECT_DOUBLE_EQ(AreaMatch(a, b, options, 100, 40, 10, 0), 0.1 / 0.75);
    // Absolute mode ignores both.
    options.AbsoluteAreaHeight = 1;
    EXPECT_DOUBLE_EQ(AreaMatch(a, b, options, 100, 40, 10, 30), 10.0 / 30.0);
}

class PairValueTest : public ::testing::Test {
protected:
    PairValueTest()
    {
        thisChrom.TotalArea = otherChrom.TotalArea = 100;
        thisChrom.TotalHeight = otherChrom.TotalHeight = 100;
        options.MSMatching = options.RTMatching = options.RIMatching = 1;
        options.AreaMatching = options.HeightMatching = 1;
        options.RTWindowWidth = 0.1;
        options.RIWindowWidth = 10;
        a = MakePeak(10, 1000, 10, 10);
        b = MakePeak(10, 1000, 20, 40);
        a.Spectrum.Append({50, 100, 100});
        a.Spectrum.Append({51, 50, 40});
        b.Spectrum.Append({50, 100, 100});
        b.Spectrum.Append({52, 50, 40});
    }
    CPairFactors Evaluate() const { return PairValue(a, b, CPairContext{thisChrom, otherChrom, options}); }

    CLibraryChromatogram thisChrom, otherChrom;
    CSearchOptions options;
    CLibraryChromatogramPeakData a, b;
};

TEST_F(PairValueTest, ProductOfAllFactors)
{
    const CPairFactors f = Evaluate();
    EXPECT_EQ(f.RT, 1);
    EXPECT_EQ(f.RI, 1);
    const double ms = 100.0 * 100 * 100 * 100 / ((100.0 * 100 + 40 * 40) * (100.0 * 100 + 40 * 40));
    EXPECT_DOUBLE_EQ(f.MS, ms);
    EXPECT_DOUBLE_EQ(f.Area, 0.5);
    EXPECT_DOUBLE_EQ(f.Height, 0.25);
    EXPECT_DOUBLE_EQ(f.Value, ms * 0.5 * 0.25);
}

TEST_F(PairValueTest, AllFlagsOffGivesOne)
{
    options.MSMatching = options.RTMatching = options.RIMatching = options.AreaMatching = options.HeightMatching = 0;
    b.RT = 0; // would give RT factor 0
    const CPairFactors f = Evaluate();
    EXPECT_EQ(f.Value, 1);
    EXPECT_EQ(f.MS + f.RT + f.RI + f.Area + f.Height, 0);
}

TEST_F(PairValueTest, RetentionBelowStopLeavesLaterFactorsAtZero)
{
    // RT factor 0.0004: the difference is sqrt(ln 0.0004 / ln 0.01) windows.
    options.RIMatching = 0;
    b.RT = a.RT + 0.1 * std::sqrt(std::log(0.0004) / std::log(0.01));
    const CPairFactors f = Evaluate();
    EXPECT_NEAR(f.RT, 0.0004, 1e-12);
    EXPECT_EQ(f.Value, f.RT);
    EXPECT_EQ(f.MS, 0);
    EXPECT_EQ(f.Area, 0);
    EXPECT_EQ(f.Height, 0);
}

TEST_F(PairValueTest, RIIsEvaluatedEvenWhenRTIsZero)
{
    b.RT = 20; // far outside the RT window
    const CPairFactors f = Evaluate();
    EXPECT_EQ(f.RT, 0);
    EXPECT_EQ(f.RI, 1);
    EXPECT_EQ(f.Value, 0);
    EXPECT_EQ(f.MS, 0);
}

TEST_F(PairValueTest, SpectralMismatchStopsBeforeAreaAndHeight)
{
    b.Spectrum.Clear();
    b.Spectrum.Append({70, 100, 100});
    const CPairFactors f = Evaluate();
    EXPECT_EQ(f.MS, 0);
    EXPECT_EQ(f.Value, 0);
    EXPECT_EQ(f.Area, 0);
    EXPECT_EQ(f.Height, 0);
}

TEST_F(PairValueTest, AreaBelowStopLeavesHeightAtZero)
{
    b.Area = 0.001;
    const CPairFactors f = Evaluate();
    EXPECT_GT(f.Area, 0);
    EXPECT_LT(f.Value, MatchConstants::StopThreshold);
    EXPECT_EQ(f.Height, 0);
}

TEST_F(PairValueTest, PrecomputedSumsOfSquaresGiveTheSameValues)
{
    options.MassThresholdOn = 1;
    options.MassThreshold = 50; // the 50 % lines (51 and 52, no partners) count in the sums of squares
    const CPairFactors plain = Evaluate();
    const CPairFactors fast = PairValue(a, b, CPairContext{thisChrom, otherChrom, options}, a.Spectrum.SumOfSquares(50),
                                        b.Spectrum.SumOfSquares(50));
    EXPECT_EQ(plain.Value, fast.Value);
    EXPECT_EQ(plain.MS, fast.MS);
    EXPECT_DOUBLE_EQ(plain.MS, (100.0 * 100) * (100.0 * 100) / ((100.0 * 100 + 40 * 40) * (100.0 * 100 + 40 * 40)));
}

} // namespace
