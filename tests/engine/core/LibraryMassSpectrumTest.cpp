// Mass spectra: the weighting, the sums and the MS match.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryMassSpectrum.h"

using namespace corvelin;

namespace {

struct L {
    double mass, intensity, weighted;
};

CLibraryMassSpectrumData Spectrum(const std::vector<L>& lines)
{
    CLibraryMassSpectrumData s;
    for (const auto& l : lines)
        s.Append(CLibraryMassSpectrumPoint(l.mass, l.intensity, l.weighted));
    return s;
}

struct MatchCase {
    const char* name;
    std::vector<L> a, b;
    double threshold;
    double expected;
    friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }
};

class MSMatchExamples : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MSMatchExamples, GivesTheDocumentedValue)
{
    const MatchCase& c = GetParam();
    const auto a = Spectrum(c.a);
    const auto b = Spectrum(c.b);
    EXPECT_NEAR(MSMatch(a, b, c.threshold), c.expected, 1e-12);
    // The wrapper and the overload with precomputed sums agree.
    EXPECT_DOUBLE_EQ(CLibraryMassSpectrum(a).MSMatch(b, c.threshold), MSMatch(a, b, c.threshold));
    EXPECT_DOUBLE_EQ(MSMatch(a, a.SumOfSquares(c.threshold), b, b.SumOfSquares(c.threshold), c.threshold),
                     MSMatch(a, b, c.threshold));
}

// With threshold 5 the line of intensity 3 is skipped in the merge, so 50 pairs with 50 and 51 with 51:
// dot = 100·100 + 50·50, a = b = 100² + 50² (the intensity-3 line is out of A's sum too) -> 1.
// Without the threshold it would pair 50.3 with 50 and shift everything.
INSTANTIATE_TEST_SUITE_P(
    Examples, MSMatchExamples,
    ::testing::Values(
        MatchCase{"identical", {{50, 100, 100}, {51, 50, 50}}, {{50, 100, 100}, {51, 50, 50}}, 0, 1},
        MatchCase{"no_pair", {{50, 100, 100}}, {{60, 100, 100}}, 0, 0},
        MatchCase{"pair_at_0_7", {{50.0, 100, 100}}, {{50.7, 100, 100}}, 0, 1},
        MatchCase{"no_pair_at_0_75", {{50.0, 100, 100}}, {{50.75, 100, 100}}, 0, 0},
        MatchCase{"both_empty", {}, {}, 0, 1}, MatchCase{"a_empty", {}, {{50, 100, 100}}, 0, 0},
        MatchCase{"b_empty", {{50, 100, 100}}, {}, 0, 0},
        MatchCase{"cosine_squared",
                  {{50, 100, 100}, {51, 0, 0}},
                  {{50, 100, 30}, {51, 100, 40}},
                  0,
                  (100.0 * 30) * (100.0 * 30) / (100.0 * 100 * (30.0 * 30 + 40 * 40))},
        MatchCase{"threshold_skips_low_line_in_a",
                  {{49.8, 3, 60}, {50, 100, 100}, {51, 50, 50}},
                  {{50, 100, 100}, {51, 50, 50}},
                  5,
                  1},
        MatchCase{"threshold_skips_low_line_in_b",
                  {{50, 100, 100}, {51, 50, 50}},
                  {{50, 3, 60}, {50.5, 100, 100}, {51.2, 50, 50}},
                  5,
                  1},
        // A line exactly at the threshold pairs (>=) and counts in both sums of squares (>=), so
        // identical spectra match exactly 1 (a rule of > for the sums gave 1.0201 here).
        MatchCase{
            "threshold_equal_in_merge_and_in_sums", {{50, 100, 100}, {60, 5, 10}}, {{50, 100, 100}, {60, 5, 10}}, 5, 1},
        // Only B's line at the threshold pairs: dot = 100·100, sums 100² + 10² and 100² + 20².
        MatchCase{"threshold_equal_line_pairs_once",
                  {{50, 100, 100}, {60, 4, 10}},
                  {{50, 100, 100}, {60, 5, 20}, {70, 5, 20}},
                  5,
                  (100.0 * 100) * (100.0 * 100) / (100.0 * 100 * (100.0 * 100 + 20 * 20 + 20 * 20))}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(LibraryMassSpectrum, ApplyWeightingScalesTheLargestTo100)
{
    CLibraryMassSpectrumData s = Spectrum({{10, 100, 0}, {20, 100, 0}});
    s.ApplyWeighting();
    EXPECT_NEAR(s.GetPoint(1)->WeightedIntensity, 100.0, 1e-12);
    EXPECT_NEAR(s.GetPoint(0)->WeightedIntensity, 100.0 / std::pow(2.0, 1.5), 1e-12);
    EXPECT_NEAR(s.GetPoint(0)->WeightedIntensity, 35.36, 0.005);

    // Intensity enters with the power 0.6: mass 20 at intensity 50 against mass 20 at 100.
    CLibraryMassSpectrumData t = Spectrum({{20, 50, 0}, {20, 100, 0}});
    t.ApplyWeighting();
    EXPECT_NEAR(t.GetPoint(0)->WeightedIntensity, 100.0 * std::pow(0.5, 0.6), 1e-12);
}

TEST(LibraryMassSpectrum, ApplyWeightingWithoutWeightLeavesZeros)
{
    CLibraryMassSpectrumData s = Spectrum({{10, 0, 7}, {20, 0, 8}});
    s.ApplyWeighting();
    EXPECT_EQ(s.GetPoint(0)->WeightedIntensity, 0);
    EXPECT_EQ(s.GetPoint(1)->WeightedIntensity, 0);
    CLibraryMassSpectrumData empty;
    empty.ApplyWeighting();
    EXPECT_EQ(empty.GetCount(), 0u);
}

TEST(LibraryMassSpectrum, SumOfSquaresTakesLinesAtOrAboveTheThreshold)
{
    const auto s = Spectrum({{50, 5, 3}, {51, 6, 4}, {52, 4, 100}});
    EXPECT_DOUBLE_EQ(s.SumOfSquares(5), 9 + 16);
    EXPECT_DOUBLE_EQ(s.SumOfSquares(6), 16);
    EXPECT_DOUBLE_EQ(s.SumOfSquares(0), 9 + 16 + 10000);
}

// The match is a squared cosine over the lines at or above the threshold, so it never leaves 0 ... 1 and a
// spectrum matches itself exactly, whatever lines lie on the threshold.
TEST(LibraryMassSpectrum, MatchStaysWithinZeroAndOneWithLinesOnTheThreshold)
{
    std::mt19937_64 rng(25);
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_real_distribution<double> weight(0.5, 100);
    for (double threshold : {0.0, 5.0, 50.0}) {
        for (int k = 0; k < 200; ++k) {
            CLibraryMassSpectrumData a, b;
            for (int mass = 40; mass < 60; ++mass) {
                // A quarter of the lines lie exactly on the threshold.
                const double ia = pick(rng) == 0 ? threshold : threshold + weight(rng);
                const double ib = pick(rng) == 0 ? threshold : threshold + weight(rng);
                a.Append({static_cast<double>(mass), ia, weight(rng)});
                if (pick(rng) != 0)
                    b.Append({static_cast<double>(mass), ib, weight(rng)});
            }
            const double ab = MSMatch(a, b, threshold);
            EXPECT_GE(ab, 0.0);
            EXPECT_LE(ab, 1.0) << "threshold " << threshold << ", case " << k;
            EXPECT_EQ(MSMatch(a, a, threshold), 1.0) << "threshold " << threshold << ", case " << k;
        }
    }
}

TEST(LibraryMassSpectrum, LargestMassAndTopIntensities)
{
    EXPECT_EQ(CLibraryMassSpectrumData().LargestMass(), 0);
    EXPECT_EQ(CLibraryMassSpectrumData().TopIntensities(), std::make_pair(0.0, 0.0));
    const auto four = Spectrum({{40, 10, 0}, {41, 100, 0}, {300, 0.05, 0}, {43, 20, 0}, {44, 0.1, 0}});
    EXPECT_EQ(four.LargestMass(), 300);
    EXPECT_EQ(four.TopIntensities(), std::make_pair(100.0, 0.0)); // 0.05 is below 0.1: only four lines count
    const auto six = Spectrum({{40, 10, 0}, {41, 100, 0}, {42, 30, 0}, {43, 20, 0}, {44, 5, 0}, {45, 50, 0}});
    EXPECT_EQ(six.TopIntensities(), std::make_pair(100.0, 10.0));
}

TEST(LibraryMassSpectrum, SetMassRefusesMassesBelowOne)
{
    CLibraryMassSpectrumPoint p;
    EXPECT_THROW(p.SetMass(0.5), CInvalidArgumentException);
    EXPECT_THROW(p.SetMass(std::nan("")), CInvalidArgumentException);
    p.SetMass(1);
    EXPECT_EQ(p.Mass, 1);
}

TEST(LibraryMassSpectrum, OutOfRangePointIsNull)
{
    const auto s = Spectrum({{50, 1, 1}});
    EXPECT_NE(s.GetPoint(0), nullptr);
    EXPECT_EQ(s.GetPoint(1), nullptr);
}
