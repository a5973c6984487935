// Compare: participation, best pairs, counts, resolution, weighting and normalisation; and a randomised
// differential test of the engine (with and without retention pruning) against the literal transcription.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/compare/CandidateIndex.h"
#include "engine/compare/CellTable.h"
#include "engine/compare/Compare.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "tests/support/LiteralCompare.h"
#include "tests/support/RandomChromatogram.h"
#include "tests/support/SyntheticChromatogram.h"

using namespace corvelin;

namespace {

struct PeakSpec {
    double rt;
    double area;
    int spectrum = 0; // peaks with the same number have identical spectra, different numbers share no mass
    double ri = -1;
    double height = -1; // -1: same as area
};

void SetSpectrum(CLibraryMassSpectrumData& s, int id)
{
    s.Clear();
    s.Append({50.0 + 2 * id, 100, 100});
    s.Append({200.0 + 2 * id, 40, 30});
}

CLibraryChromatogram MakeChromatogram(const std::vector<PeakSpec>& peaks, double totalArea = 0)
{
    CLibraryChromatogram c;
    double sum = 0;
    for (const PeakSpec& s : peaks) {
        auto& p = c.AddPeak();
        p.RT = s.rt;
        p.Area = s.area;
        p.Height = s.height < 0 ? s.area : s.height;
        p.RI = s.ri;
        SetSpectrum(p.Spectrum, s.spectrum);
        sum += s.area;
    }
    c.TotalArea = totalArea > 0 ? totalArea : sum;
    c.TotalHeight = c.TotalArea;
    c.NumberPeaks();
    return c;
}

CSearchOptions AllFactors()
{
    CSearchOptions o;
    o.MSMatching = o.RTMatching = o.RIMatching = o.AreaMatching = o.HeightMatching = 1;
    o.RTWindowWidth = 0.1;
    o.RIWindowWidth = 15;
    return o;
}

std::vector<PeakSpec> TwelvePeaks()
{
    std::vector<PeakSpec> peaks;
    for (int k = 0; k < 12; ++k)
        peaks.push_back({2.0 + k, 100.0 + 10 * k, k, 900.0 + 100 * k});
    return peaks;
}

TEST(Compare, IdenticalChromatogramsMatchCompletelyBothWays)
{
    const CLibraryChromatogram a = MakeChromatogram(TwelvePeaks());
    const CLibraryChromatogram b = MakeChromatogram(TwelvePeaks());
    for (bool withTable : {false, true}) {
        CCellTable table(12, 12);
        CLibraryHit forward, reverse;
        EXPECT_EQ(a.Compare(b, AllFactors(), forward, withTable ? &table : nullptr), 1.0);
        EXPECT_EQ(b.Compare(a, AllFactors(), reverse, withTable ? &table : nullptr), 1.0);
        for (const CLibraryHit& h : {forward, reverse}) {
            EXPECT_EQ(h.Overall, 1.0);
            EXPECT_EQ(h.MatchedPeaks, 12);
            EXPECT_EQ(h.ConsideredPeaks, 12);
            EXPECT_EQ(h.MSAverage, 1.0);
            EXPECT_EQ(h.RTAverage, 1.0);
            EXPECT_EQ(h.RIAverage, 1.0);
            EXPECT_EQ(h.AreaAverage, 1.0);
            EXPECT_EQ(h.HeightAverage, 1.0);
        }
        if (withTable) {
            for (std::size_t i = 0; i < 12; ++i)
                for (std::size_t j = 0; j < 12; ++j)
                    EXPECT_EQ(table(i, j), i == j ? 1.0 : 0.0) << i << "," << j;
        }
    }
}

// Every spectrum has a line of intensity 40: with the mass threshold at 40 that line pairs and counts in the
// sums of squares alike, so identical chromatograms still match exactly 1, through the table, without it, and
// through spectra prepared beforehand as the library search does (a rule of > for the sums gave 1.19 here).
TEST(Compare, LinesOnTheMassThresholdKeepTheMatchOfIdenticalChromatogramsAtOne)
{
    const CLibraryChromatogram a = MakeChromatogram(TwelvePeaks());
    const CLibraryChromatogram b = MakeChromatogram(TwelvePeaks());
    CSearchOptions options = AllFactors();
    options.MassThresholdOn = 1;
    options.MassThreshold = 40;
    CPreparedSpectra thisSpectra, otherSpectra;
    thisSpectra.PreparePeaks(a, MassThresholdOf(options));
    otherSpectra.PreparePeaks(b, MassThresholdOf(options));
    for (int way = 0; way < 3; ++way) {
        CCellTable table(12, 12);
        CCompareTuning tuning;
        if (way == 2) {
            tuning.ThisSpectra = &thisSpectra;
            tuning.OtherSpectra = &otherSpectra;
            tuning.TableIsScratch = true;
        }
        CLibraryHit hit;
        EXPECT_EQ(CompareChromatograms(a, b, options, &hit, way == 0 ? nullptr : &table, tuning), 1.0) << way;
        EXPECT_EQ(hit.MSAverage, 1.0) << way;
        EXPECT_EQ(hit.MatchedPeaks, 12) << way;
    }
}

TEST(Compare, SpectraPreparedForAnotherChromatogramAreIgnored)
{
    // Same retention times, different spectra: with b's spectra taken for a's, every pair would match fully.
    const CLibraryChromatogram a = MakeChromatogram({{2, 1, 1}, {3, 1, 2}});
    const CLibraryChromatogram b = MakeChromatogram({{2, 1, 3}, {3, 1, 4}});
    const CSearchOptions options = AllFactors();
    CPreparedSpectra wrong;
    wrong.PreparePeaks(b, MassThresholdOf(options));
    CCompareTuning tuning;
    tuning.ThisSpectra = &wrong;
    tuning.OtherSpectra = &wrong;
    CCellTable table(2, 2);
    CLibraryHit hit;
    EXPECT_EQ(CompareChromatograms(a, b, options, &hit, &table, tuning), 0.0);
    EXPECT_EQ(hit.MatchedPeaks, 0);
    EXPECT_EQ(hit.MSAverage, 0.0);
}

TEST(Compare, AreaWeightingExampleGivesThreeQuarters)
{
    // Areas 3 and 1; the first matches the only peak of "other" with value 1, the second matches nothing.
    const CLibraryChromatogram a = MakeChromatogram({{5, 3}, {10, 1}});
    const CLibraryChromatogram b = MakeChromatogram({{5, 3}});
    CSearchOptions o;
    o.MSMatching = 0;
    o.Weighting = 1;
    CCellTable table(2, 1);
    CLibraryHit hit;
    EXPECT_DOUBLE_EQ(a.Compare(b, o, hit, &table), 0.75);
    EXPECT_EQ(hit.MatchedPeaks, 1);
    EXPECT_EQ(hit.ConsideredPeaks, 2);
    EXPECT_DOUBLE_EQ(table(0, 0), 3.0 / 4.0); // weighted by 3, normalised by the weight sum 4
    EXPECT_EQ(table(1, 0), 0);
    // Without a table the weighting does not apply: the plain mean of the best values.
    CLibraryHit plain;
    EXPECT_DOUBLE_EQ(a.Compare(b, o, plain, nullptr), 0.5);
    EXPECT_EQ(plain.MatchedPeaks, 1);
}

TEST(Compare, LogWeightingUsesTheNaturalLogarithm)
{
    const CLibraryChromatogram a = MakeChromatogram({{5, std::exp(3.0)}, {10, std::exp(1.0)}});
    const CLibraryChromatogram b = MakeChromatogram({{5, 1}});
    CSearchOptions o;
    o.MSMatching = 0;
    o.Weighting = 3;
    CCellTable table(2, 1);
    CLibraryHit hit;
    EXPECT_NEAR(a.Compare(b, o, hit, &table), 0.75, 1e-12);
}

TEST(Compare, AreaThresholdLeavesOutSmallPeaksOnBothSides)
{
    // 4 % peaks on both sides; the 96 % peaks match.
    const CLibraryChromatogram a = MakeChromatogram({{5, 96, 1}, {8, 4, 2}});
    const CLibraryChromatogram b = MakeChromatogram({{8, 4, 2}, {5, 96, 1}});
    CSearchOptions o;
    o.AreaThresholdOn = 1;
    o.AreaThreshold = 5;
    for (bool multiple : {false, true}) {
        o.MultipleMatching = multiple;
        CCellTable table(2, 2);
        CLibraryHit hit;
        EXPECT_EQ(a.Compare(b, o, hit, &table), 1.0);
        EXPECT_EQ(hit.ConsideredPeaks, 1);
        EXPECT_EQ(hit.MatchedPeaks, 1);
        EXPECT_EQ(table(0, 1), 1.0);
        EXPECT_EQ(table(0, 0), multiple ? -1 : 0); // "other" 4 % peak: no candidate
        EXPECT_EQ(table(1, 0), multiple ? -1 : 0); // skipped row
        EXPECT_EQ(table(1, 1), multiple ? -1 : 0);
    }
    // With the threshold off both peaks match.
    o.AreaThresholdOn = 0;
    CLibraryHit hit;
    EXPECT_EQ(a.Compare(b, o, hit, nullptr), 1.0);
    EXPECT_EQ(hit.ConsideredPeaks, 2);
}

TEST(Compare, ZeroTotalAreaDoesNotTripTheAreaThreshold)
{
    const CLibraryChromatogram a = MakeChromatogram({{5, 0, 1}}, 0);
    const CLibraryChromatogram b = MakeChromatogram({{5, 10, 1}});
    CSearchOptions o;
    o.AreaThresholdOn = 1;
    o.AreaThreshold = 5;
    CLibraryHit hit;
    EXPECT_EQ(a.Compare(b, o, hit, nullptr), 1.0);
    EXPECT_EQ(hit.ConsideredPeaks, 1);
}

TEST(Compare, RTSearchRangeRestrictsBothSidesAndSetsTheAreaSums)
{
    // In range 1-5: "this" peak at 2 (area 10 of 100), "other" peak at 2 (area 30 of 40).
    const CLibraryChromatogram a = MakeChromatogram({{2, 10, 1}, {8, 90, 2}});
    const CLibraryChromatogram b = MakeChromatogram({{9, 10, 2}, {2, 30, 1}});
    CSearchOptions o;
    o.AreaMatching = 1;
    o.TimeRange = "1-5";
    CCellTable table(2, 2);
    CLibraryHit hit;
    EXPECT_EQ(a.Compare(b, o, hit, &table), 1.0);
    EXPECT_EQ(hit.ConsideredPeaks, 1);
    EXPECT_EQ(hit.AreaAverage, 1.0); // 10/10 against 30/30; against the totals it would be 0.1 / 0.75
    EXPECT_EQ(table(0, 1), 1.0);
    EXPECT_EQ(table(0, 0), 0);
    EXPECT_EQ(table(1, 0), 0);
    EXPECT_EQ(table(1, 1), 0);
    // The whole range: the area factor is taken against the totals.
    o.TimeRange = "*";
    // Peak 8 has no partner within 3 RT windows, so only the pair at 2 contributes.
    EXPECT_DOUBLE_EQ(a.Compare(b, o, hit, nullptr), (0.1 / 0.75) / 2);
}

TEST(Compare, PairsBelowTheStopValueCountOnlyThroughTheTable)
{
    // The only pair has RT factor 0.0004.
    const double d = 0.1 * std::sqrt(std::log(0.0004) / std::log(0.01));
    const CLibraryChromatogram a = MakeChromatogram({{5, 10}});
    const CLibraryChromatogram b = MakeChromatogram({{5 + d, 10}});
    CSearchOptions o;
    o.AreaMatching = o.HeightMatching = 1;
    CLibraryHit plain;
    EXPECT_EQ(a.Compare(b, o, plain, nullptr), 0);
    EXPECT_EQ(plain.ConsideredPeaks, 1);
    EXPECT_EQ(plain.MatchedPeaks, 0);
    EXPECT_EQ(plain.RTAverage, 0);
    CCellTable table(1, 1);
    CLibraryHit withTable;
    EXPECT_NEAR(a.Compare(b, o, withTable, &table), 0.0004, 1e-12);
    EXPECT_EQ(withTable.MatchedPeaks, 1);
    EXPECT_EQ(withTable.RTAverage, 0); // averages come from the best pairs only
    EXPECT_EQ(withTable.MSAverage, 0);
}

TEST(Compare, EqualPairValuesGoToTheEarlierPeakOfOther)
{
    // Two partners at the same RT distance on either side with equal products but different factors; the
    // earlier peak of "other" (index 0, the later RT) must win, and its factors make the averages.
    const CLibraryChromatogram a = MakeChromatogram({{5.0, 10, 0, -1, 10}}, 100);
    CLibraryChromatogram b = MakeChromatogram({{5.0625, 5, 0, -1, 10}, {4.9375, 10, 0, -1, 5}}, 100);
    CSearchOptions o;
    o.MSMatching = 0;
    o.AreaMatching = o.HeightMatching = 1;
    o.RTWindowWidth = 0.125;
    CLibraryHit hit;
    a.Compare(b, o, hit, nullptr);
    EXPECT_EQ(hit.AreaAverage, 0.5);
    EXPECT_EQ(hit.HeightAverage, 1.0);
}

TEST(Compare, MultipleMatchingLetsTwoPeaksShareOnePartner)
{
    // Both peaks of "this" match "other" peak 0 equally well; peak 1 of "other" is a weaker second choice.
    const CLibraryChromatogram a = MakeChromatogram({{5.0, 10}, {5.0, 10}});
    const CLibraryChromatogram b = MakeChromatogram({{5.0, 10}, {5.1, 10}});
    CSearchOptions o;
    o.MSMatching = 0;
    CCellTable table(2, 2);
    CLibraryHit hit;
    o.MultipleMatching = 1;
    a.Compare(b, o, hit, &table);
    EXPECT_GT(table(0, 0), 0);
    EXPECT_GT(table(1, 0), 0);
    EXPECT_EQ(table(0, 1), -1);
    EXPECT_EQ(table(1, 1), -1);
    EXPECT_EQ(hit.MatchedPeaks, 2);
    o.MultipleMatching = 0;
    a.Compare(b, o, hit, &table);
    // The tie on column 0 goes to the earlier row; row 1 takes its next-best partner.
    EXPECT_GT(table(0, 0), 0);
    EXPECT_EQ(table(1, 0), 0);
    EXPECT_EQ(table(0, 1), 0);
    EXPECT_GT(table(1, 1), 0);
    EXPECT_EQ(hit.MatchedPeaks, 2);
}

TEST(Compare, NothingToCompareGivesZeroes)
{
    const CLibraryChromatogram empty;
    const CLibraryChromatogram b = MakeChromatogram({{5, 10}});
    CLibraryHit hit;
    EXPECT_EQ(empty.Compare(b, CSearchOptions(), hit, nullptr), 0);
    EXPECT_EQ(hit.Overall, 0);
    EXPECT_EQ(hit.MSAverage, 0);
    EXPECT_EQ(hit.ConsideredPeaks, 0);
    EXPECT_EQ(hit.MatchedPeaks, 0);
    CSearchOptions o;
    o.TimeRange = "20-30"; // every peak skipped
    CCellTable table(1, 1);
    CLibraryHit skipped;
    EXPECT_EQ(b.Compare(b, o, skipped, &table), 0);
    EXPECT_EQ(skipped.Overall, 0);
    EXPECT_EQ(skipped.RTAverage, 0);
    EXPECT_EQ(skipped.ConsideredPeaks, 0);
    EXPECT_EQ(table(0, 0), 0);
}

TEST(Compare, SwitchedOffFactorsAverageZero)
{
    const CLibraryChromatogram a = MakeChromatogram(TwelvePeaks());
    CSearchOptions o = AllFactors();
    o.RIMatching = 0;
    o.HeightMatching = 0;
    CLibraryHit hit;
    EXPECT_EQ(a.Compare(a, o, hit, nullptr), 1.0);
    EXPECT_EQ(hit.RIAverage, 0);
    EXPECT_EQ(hit.HeightAverage, 0);
    EXPECT_EQ(hit.MSAverage, 1.0);
}

TEST(Compare, RefusesATableSmallerThanThePeakCounts)
{
    const CLibraryChromatogram a = MakeChromatogram({{5, 10}, {6, 10}});
    const CLibraryChromatogram b = MakeChromatogram({{5, 10}});
    CLibraryHit hit;
    CCellTable small(1, 1);
    EXPECT_THROW(a.Compare(b, CSearchOptions(), hit, &small), CInvalidArgumentException);
    CCellTable narrow(2, 0);
    EXPECT_THROW(a.Compare(b, CSearchOptions(), hit, &narrow), CInvalidArgumentException);
}

TEST(Compare, PeakCountBeyondThePeakArraySkipsTheMissingPeaks)
{
    CLibraryChromatogram a = MakeChromatogram({{5, 10}});
    CLibraryChromatogram b = MakeChromatogram({{5, 10}});
    a.PeakCount = 3;
    b.PeakCount = 2;
    CCellTable table(3, 2);
    CLibraryHit hit;
    EXPECT_EQ(a.Compare(b, CSearchOptions(), hit, &table), 1.0);
    EXPECT_EQ(hit.ConsideredPeaks, 1);
    EXPECT_EQ(hit.MatchedPeaks, 1);
}

TEST(Compare, AHostilePeakCountAllocatesNothingForTheMissingPeaks)
{
    // An entry file may claim 2^31 - 1 peaks while holding one; without a table the comparison must neither
    // size its scratch memory by the claim nor walk it.
    CLibraryChromatogram a = MakeChromatogram({{5, 10}});
    const CLibraryChromatogram b = MakeChromatogram({{5, 10}});
    a.PeakCount = 2147483647;
    CLibraryHit forward, reverse;
    EXPECT_EQ(a.Compare(b, CSearchOptions(), forward, nullptr), 1.0);
    EXPECT_EQ(forward.ConsideredPeaks, 1);
    EXPECT_EQ(b.Compare(a, CSearchOptions(), reverse, nullptr), 1.0);
    EXPECT_EQ(reverse.MatchedPeaks, 1);
}

// ---- Randomised differential test --------------------------------------------------------------------------

struct RandomPair {
    CLibraryChromatogram self, other;
    CSearchOptions options;
};

void ExpectSameBits(double a, double b, const char* what, int round)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a), std::bit_cast<std::uint64_t>(b))
        << what << " differs in round " << round << ": " << a << " vs " << b;
}

void ExpectSameHit(const CLibraryHit& a, const CLibraryHit& b, int round)
{
    ExpectSameBits(a.Overall, b.Overall, "Overall", round);
    ExpectSameBits(a.MSAverage, b.MSAverage, "MS", round);
    ExpectSameBits(a.RTAverage, b.RTAverage, "RT", round);
    ExpectSameBits(a.RIAverage, b.RIAverage, "RI", round);
    ExpectSameBits(a.AreaAverage, b.AreaAverage, "Area", round);
    ExpectSameBits(a.HeightAverage, b.HeightAverage, "Height", round);
    EXPECT_EQ(a.MatchedPeaks, b.MatchedPeaks) << "round " << round;
    EXPECT_EQ(a.ConsideredPeaks, b.ConsideredPeaks) << "round " << round;
}

void ExpectSameTable(const CCellTable& a, const CCellTable& b, int round)
{
    ASSERT_EQ(a.Rows(), b.Rows());
    ASSERT_EQ(a.Columns(), b.Columns());
    for (std::size_t i = 0; i < a.Rows(); ++i)
        for (std::size_t j = 0; j < a.Columns(); ++j)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a(i, j)), std::bit_cast<std::uint64_t>(b(i, j)))
                << "cell " << i << "," << j << " in round " << round << ": " << a(i, j) << " vs " << b(i, j);
}

// A cursor finds each peak's candidates, in their order, as the binary search does, whatever the order of the
// peaks looked up: ascending (steps and jumps) or at random; ties, infinite and missing times too.
TEST(CandidateIndex, CursorGivesTheCandidatesOfTheSearch)
{
    std::mt19937_64 rng(77);
    const double special[] = {0, std::numeric_limits<double>::infinity(), 2.5, 2.5};
    std::vector<CLibraryChromatogramPeakData> peaks(300);
    for (auto& p : peaks)
        p.RT = p.RI = rng() % 20 == 0 ? special[rng() % 4] : 0.5 + (rng() % 100) * (rng() % 2 ? 0.05 : 0.01);
    CSearchOptions options;
    const std::vector<char> takesPart(peaks.size(), 1);
    for (int axis = 0; axis < 2; ++axis) {
        options.RTMatching = axis == 0;
        options.RIMatching = 1;
        options.RIWindowWidth = 0.02;
        CCandidateIndex index;
        index.Build(
            takesPart, [&](int j) -> const CLibraryChromatogramPeakData& { return peaks[j]; }, options, true);
        std::vector<CLibraryChromatogramPeakData> queries(peaks.begin(), peaks.end());
        for (int order = 0; order < 2; ++order) {
            if (order == 0)
                std::sort(queries.begin(), queries.end(), [](const auto& a, const auto& b) { return a.RT < b.RT; });
            else
                std::shuffle(queries.begin(), queries.end(), rng);
            CCandidateIndex::Cursor cursor;
            std::size_t visited = 0;
            for (const auto& q : queries) {
                std::vector<int> searched, stepped;
                index.ForEachCandidate(q, [&](int j) { searched.push_back(j); });
                index.ForEachCandidate(q, cursor, [&](int j) { stepped.push_back(j); });
                ASSERT_EQ(stepped, searched) << "axis " << axis << ", order " << order << ", at " << q.RT;
                visited += searched.size();
            }
            EXPECT_GT(visited, 2 * queries.size());
        }
    }
}

TEST(CompareDifferential, PrunedUnprunedPreparedAndLiteralAgreeExactly)
{
    std::mt19937_64 rng(4242);
    std::uniform_int_distribution<int> pick(0, 99);
    for (int round = 0; round < 3000; ++round) {
        RandomPair pair;
        std::mt19937_64 replay = rng;
        RandomChromatogram(pair.self, rng);
        RandomChromatogram(pair.other, pick(rng) < 20 ? replay : rng); // sometimes an identical twin
        RandomOptions(pair.options, rng);
        if (pick(rng) < 5 && pair.self.Peaks.size() > 1) {
            // A corrupt weighted intensity: pair values that are not a number.
            auto& points = pair.self.Peaks[1]->Spectrum.Points();
            if (!points.empty())
                points.front().WeightedIntensity = std::numeric_limits<double>::quiet_NaN();
        }
        const bool withTable = pick(rng) < 75;
        const std::size_t rows = std::max(0, pair.self.PeakCount) + pick(rng) % 2;
        const std::size_t columns = std::max(0, pair.other.PeakCount) + pick(rng) % 2;
        // Stale contents from an earlier comparison must not matter.
        CCellTable stale(rows, columns);
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < columns; ++j)
                stale(i, j) = pick(rng) / 50.0 - 1;

        CCellTable pruned = stale, unpruned = stale, literalTable = stale;
        CLibraryHit prunedHit, unprunedHit, literalHit;
        const double r1 = CompareChromatograms(pair.self, pair.other, pair.options, &prunedHit,
                                               withTable ? &pruned : nullptr, CCompareTuning{true});
        const double r2 = CompareChromatograms(pair.self, pair.other, pair.options, &unprunedHit,
                                               withTable ? &unpruned : nullptr, CCompareTuning{false});
        const double r3 =
            literal::Compare(pair.self, pair.other, pair.options, &literalHit, withTable ? &literalTable : nullptr);
        // Spectra prepared beforehand: usually for the options' threshold, sometimes for another one (then they
        // must be ignored), sometimes only one side.
        const double threshold = MassThresholdOf(pair.options);
        CPreparedSpectra selfSpectra, otherSpectra;
        selfSpectra.PreparePeaks(pair.self, pick(rng) < 10 ? threshold + 1 : threshold);
        otherSpectra.PreparePeaks(pair.other, pick(rng) < 10 ? threshold + 1 : threshold);
        CCompareTuning preparedTuning;
        preparedTuning.ThisSpectra = pick(rng) < 90 ? &selfSpectra : nullptr;
        preparedTuning.OtherSpectra = pick(rng) < 90 ? &otherSpectra : nullptr;
        CCellTable preparedTable = stale;
        CLibraryHit preparedHit;
        const double r4 = CompareChromatograms(pair.self, pair.other, pair.options, &preparedHit,
                                               withTable ? &preparedTable : nullptr, preparedTuning);
        // The table as scratch memory only: the same result and hit.
        CCompareTuning scratchTuning = preparedTuning;
        scratchTuning.TableIsScratch = true;
        CCellTable scratch = stale;
        CLibraryHit scratchHit;
        const double r5 = CompareChromatograms(pair.self, pair.other, pair.options, &scratchHit,
                                               withTable ? &scratch : nullptr, scratchTuning);
        ExpectSameBits(r5, r3, "result (table as scratch)", round);
        ExpectSameHit(scratchHit, literalHit, round);
        ExpectSameBits(r1, r3, "result (pruned)", round);
        ExpectSameBits(r2, r3, "result (unpruned)", round);
        ExpectSameBits(r4, r3, "result (prepared spectra)", round);
        ExpectSameHit(prunedHit, literalHit, round);
        ExpectSameHit(unprunedHit, literalHit, round);
        ExpectSameHit(preparedHit, literalHit, round);
        ExpectSameTable(pruned, literalTable, round);
        ExpectSameTable(unpruned, literalTable, round);
        ExpectSameTable(preparedTable, literalTable, round);
        if (HasFailure())
            return;
    }
}

TEST(CompareDifferential, SyntheticChromatogramsAgreeWithTheLiteralTranscription)
{
    // Realistic sizes: 60 peaks with 40-line spectra against a noisy variant.
    const auto self = MakeSyntheticChromatogram(CSyntheticShape{60, 40, 2.0, 30.0, true}, 11);
    const auto other = MakeSyntheticVariant(*self, 12, 0.05, 10);
    int round = 0;
    for (int multiple : {0, 1})
        for (int weighting : {0, 1, 4})
            for (bool withTable : {false, true}) {
                CSearchOptions options = AllFactors();
                options.MultipleMatching = multiple;
                options.Weighting = weighting;
                CCellTable fast(60, 60), slow(60, 60);
                CLibraryHit fastHit, slowHit;
                const double r1 = self->Compare(*other, options, fastHit, withTable ? &fast : nullptr);
                const double r2 = literal::Compare(*self, *other, options, &slowHit, withTable ? &slow : nullptr);
                ExpectSameBits(r1, r2, "result", round);
                ExpectSameHit(fastHit, slowHit, round);
                ExpectSameTable(fast, slow, round);
                EXPECT_GT(fastHit.MatchedPeaks, 30) << "the variant should mostly match";
                ++round;
            }
}

TEST(CompareDifferential, ConcurrentComparisonsGiveTheSingleThreadedResults)
{
    // Comparisons on several threads at once (as in a parallel library search) use separate scratch memory.
    const auto self = MakeSyntheticChromatogram(CSyntheticShape{80, 60, 2.0, 30.0, true}, 5);
    std::vector<std::unique_ptr<CLibraryChromatogram>> others;
    for (int k = 0; k < 4; ++k)
        others.push_back(MakeSyntheticVariant(*self, 100 + k, 0.05 * (k + 1), 5.0 * k));
    const CSearchOptions options = AllFactors();
    std::vector<CCellTable> expected(others.size(), CCellTable(80, 80));
    std::vector<double> expectedResult(others.size());
    for (std::size_t k = 0; k < others.size(); ++k) {
        CLibraryHit hit;
        expectedResult[k] = self->Compare(*others[k], options, hit, &expected[k]);
    }
    std::vector<int> mismatches(others.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < others.size(); ++k)
        threads.emplace_back([&, k] {
            for (int repeat = 0; repeat < 20; ++repeat) {
                CCellTable table(80, 80);
                CLibraryHit hit;
                const double r = self->Compare(*others[k], options, hit, &table);
                mismatches[k] += (r != expectedResult[k] || !(table == expected[k])) ? 1 : 0;
            }
        });
    for (auto& t : threads)
        t.join();
    for (std::size_t k = 0; k < others.size(); ++k)
        EXPECT_EQ(mismatches[k], 0) << "variant " << k;
}

} // namespace
