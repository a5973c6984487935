// The library search's per-entry step: the prepared path (entry read straight into flat arrays, both directions
// at once) gives exactly the hits of the general path (whole entry, CompareChromatograms each way) on random
// libraries, ties, damaged and unreadable entries included.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/compare/LibraryEntryComparer.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/workflow/HitList.h"
#include "tests/support/RandomChromatogram.h"
#include "tests/support/SyntheticChromatogram.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A small library beside the unknown: random entries, the unknown itself (every pair value ties with its
// twin's), entries with a corrupt weighted intensity, and damaged files (cut short, a byte changed, no file).
std::vector<std::string> WriteLibrary(const TempDir& dir, const CLibraryChromatogram& unknown, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<std::string> paths;
    auto add = [&](const CLibraryChromatogram& entry) {
        paths.push_back(dir.File("e" + std::to_string(paths.size()) + ".ChromLibEntry"));
        entry.SaveEntry(paths.back());
    };
    for (int k = 0; k < 6; ++k) {
        CLibraryChromatogram entry;
        RandomChromatogram(entry, rng);
        if (pick(rng) < 20 && !entry.Peaks.empty() && !entry.Peaks.back()->Spectrum.Points().empty())
            entry.Peaks.back()->Spectrum.Points().front().WeightedIntensity = std::numeric_limits<double>::quiet_NaN();
        add(entry);
    }
    add(unknown);
    const std::vector<std::uint8_t> bytes = unknown.StoreToBytes();
    for (int k = 0; k < 3; ++k) {
        std::vector<std::uint8_t> damaged = bytes;
        if (k == 0)
            damaged.resize(damaged.size() * pick(rng) / 100);
        else
            damaged[static_cast<std::size_t>(rng() % damaged.size())] ^= static_cast<std::uint8_t>(1 + rng() % 255);
        paths.push_back(dir.File("d" + std::to_string(paths.size()) + ".ChromLibEntry"));
        WriteBytes(paths.back(), damaged);
    }
    paths.push_back(dir.File("missing.ChromLibEntry"));
    return paths;
}

void ExpectSameRow(EntryOutcome outcome, const CLibraryEntryComparer& general, const CLibraryHit& a,
                   const CLibraryEntryComparer& prepared, const CLibraryHit& b, const std::string& where)
{
    if (outcome == EntryOutcome::TooManyPeaks)
        EXPECT_EQ(TooManyPeaksRowCells("f", general.Entry()), TooManyPeaksRowCells("f", prepared.Entry())) << where;
    if (outcome != EntryOutcome::Compared)
        return;
    EXPECT_EQ(HitRowCells("f", general.Entry(), a), HitRowCells("f", prepared.Entry(), b)) << where;
    const double av[] = {a.Overall,          a.MSAverage,        a.RTAverage,          a.RIAverage,
                         a.AreaAverage,      a.HeightAverage,    a.ReverseOverall,     a.ReverseMSAverage,
                         a.ReverseRTAverage, a.ReverseRIAverage, a.ReverseAreaAverage, a.ReverseHeightAverage};
    const double bv[] = {b.Overall,          b.MSAverage,        b.RTAverage,          b.RIAverage,
                         b.AreaAverage,      b.HeightAverage,    b.ReverseOverall,     b.ReverseMSAverage,
                         b.ReverseRTAverage, b.ReverseRIAverage, b.ReverseAreaAverage, b.ReverseHeightAverage};
    for (std::size_t k = 0; k < std::size(av); ++k)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(av[k]), std::bit_cast<std::uint64_t>(bv[k]))
            << where << ", value " << k << ": " << av[k] << " vs " << bv[k];
    EXPECT_EQ(a.MatchedPeaks, b.MatchedPeaks) << where;
    EXPECT_EQ(a.ConsideredPeaks, b.ConsideredPeaks) << where;
    EXPECT_EQ(a.ReverseMatchedPeaks, b.ReverseMatchedPeaks) << where;
    EXPECT_EQ(a.ReverseConsideredPeaks, b.ReverseConsideredPeaks) << where;
}

TEST(LibraryEntryComparer, PreparedPathGivesTheGeneralPathsHitsOnRandomLibraries)
{
    std::mt19937_64 rng(2727);
    std::uniform_int_distribution<int> pick(0, 99);
    int counts[3] = {0, 0, 0};
    for (int round = 0; round < 300; ++round) {
        const TempDir dir;
        CLibraryChromatogram unknown;
        RandomChromatogram(unknown, rng);
        CSearchOptions options;
        RandomOptions(options, rng);
        const std::vector<std::string> library = WriteLibrary(dir, unknown, rng);
        const int maxPeaks = pick(rng) < 20 ? 12 : 200;
        CLibraryEntryComparer general(unknown, options, maxPeaks, EntryComparePath::General);
        CLibraryEntryComparer prepared(unknown, options, maxPeaks, EntryComparePath::Prepared);
        for (const std::string& path : library) {
            CLibraryHit a, b;
            const EntryOutcome outcome = general.Compare(path, a);
            ASSERT_EQ(prepared.Compare(path, b), outcome) << path << " in round " << round;
            ExpectSameRow(outcome, general, a, prepared, b, path + " in round " + std::to_string(round));
            ++counts[static_cast<int>(outcome)];
        }
        if (HasFailure())
            return;
    }
    // Every outcome occurred often enough to mean something.
    EXPECT_GT(counts[static_cast<int>(EntryOutcome::Compared)], 1000);
    EXPECT_GT(counts[static_cast<int>(EntryOutcome::Unreadable)], 300);
    EXPECT_GT(counts[static_cast<int>(EntryOutcome::TooManyPeaks)], 50);
}

TEST(LibraryEntryComparer, PreparedPathGivesTheGeneralPathsHitsOnSyntheticLibraries)
{
    // Realistic sizes with the search's default options, MS alone, with RI, with all factors and one-to-many.
    const auto unknown = MakeSyntheticChromatogram(CSyntheticShape{120, 60, 2.0, 40.0, true}, 3);
    const TempDir dir;
    std::vector<std::string> library;
    for (int k = 0; k < 6; ++k) {
        library.push_back(dir.File("s" + std::to_string(k) + ".ChromLibEntry"));
        (k < 3 ? MakeSyntheticVariant(*unknown, 10 + k, 0.02 * k, 5.0 * k)
               : MakeSyntheticChromatogram(CSyntheticShape{120, 60, 2.0, 40.0, k != 4}, 10 + k))
            ->SaveEntry(library.back());
    }
    for (int set = 0; set < 5; ++set) {
        CSearchOptions options;
        options.RTMatching = set != 1 && set != 2;
        options.RIMatching = set >= 2;
        options.AreaMatching = options.HeightMatching = set == 3;
        options.MultipleMatching = set == 4;
        options.MassThresholdOn = set == 4;
        CLibraryEntryComparer general(*unknown, options, 200, EntryComparePath::General);
        CLibraryEntryComparer prepared(*unknown, options, 200, EntryComparePath::Prepared);
        for (const std::string& path : library) {
            CLibraryHit a, b;
            ASSERT_EQ(general.Compare(path, a), EntryOutcome::Compared);
            ASSERT_EQ(prepared.Compare(path, b), EntryOutcome::Compared);
            ExpectSameRow(EntryOutcome::Compared, general, a, prepared, b, path + " in set " + std::to_string(set));
        }
    }
}

} // namespace
