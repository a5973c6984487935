// The prepared spectrum matches of one comparison give exactly MSMatch, bit for bit, for nominal spectra (dense
// table) and for everything that has to fall back to the merge.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine/compare/SpectrumMatcher.h"

using namespace corvelin;

namespace {

CLibraryMassSpectrumData RandomSpectrum(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_real_distribution<double> value(0, 100);
    CLibraryMassSpectrumData s;
    const int kind = pick(rng);
    if (kind < 8)
        return s; // empty
    double mass = 1 + pick(rng) % 5;
    const int lines = 1 + pick(rng) % 40;
    for (int k = 0; k < lines; ++k) {
        const int p = pick(rng);
        double intensity = p < 10 ? 5.0 : p < 15 ? 0.0 : value(rng); // 5 = one of the thresholds exactly
        double weighted = pick(rng) < 5 ? 0.0 : value(rng);
        if (kind == 8 && p < 5)
            weighted = std::numeric_limits<double>::infinity();
        if (kind == 9 && p < 5)
            weighted = std::numeric_limits<double>::quiet_NaN();
        if (kind == 10 && p < 20)
            weighted = -weighted;
        s.Append({mass, intensity, weighted});
        // Mostly ascending integers; some spectra have fractional, repeated, falling or very large masses.
        const int step = pick(rng);
        if (kind == 11 && step < 20)
            mass += 0.7;
        else if (kind == 12 && step < 10)
            mass += 0; // repeated mass
        else if (kind == 13 && step < 10)
            mass -= 3;
        else if (kind == 14 && step < 10)
            mass += 5000;
        else
            mass += 1 + pick(rng) % 3;
    }
    return s;
}

TEST(SpectrumMatcher, GivesExactlyTheMergeResult)
{
    std::mt19937_64 rng(31);
    for (double threshold : {0.0, 0.5, 5.0, 50.0}) {
        std::vector<CLibraryMassSpectrumData> spectra;
        for (int k = 0; k < 120; ++k)
            spectra.push_back(RandomSpectrum(rng));
        CSpectrumMatcher matcher(threshold);
        std::vector<int> handles;
        for (const auto& s : spectra)
            handles.push_back(matcher.Add(s));
        // The same spectra with tables by mass, as an unknown compared with many entries has them.
        CPreparedSpectra tabled(threshold);
        for (const auto& s : spectra)
            tabled.Add(s);
        ASSERT_TRUE(tabled.BuildTables(std::size_t(1) << 22));
        int nonZero = 0;
        for (std::size_t a = 0; a < spectra.size(); ++a) {
            matcher.SetSideA(handles[a]);
            for (std::size_t b = 0; b < spectra.size(); ++b) {
                const double expected = MSMatch(spectra[a], spectra[b], threshold);
                const double actual = matcher.Match(handles[b]);
                ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
                    << "spectra " << a << " and " << b << " at threshold " << threshold << ": " << actual << " vs "
                    << expected;
                const double byTable =
                    CSpectrumMatcher::MatchByTable(tabled, static_cast<int>(a), tabled, static_cast<int>(b));
                ASSERT_EQ(std::bit_cast<std::uint64_t>(byTable), std::bit_cast<std::uint64_t>(expected))
                    << "spectra " << a << " and " << b << " by table at threshold " << threshold;
                nonZero += expected > 0;
            }
        }
        EXPECT_GT(nonZero, 1000); // the spectra overlap often enough to test the sums
        // Reset keeps nothing of the earlier spectra.
        matcher.Reset(threshold);
        const int h = matcher.Add(spectra[0]);
        matcher.SetSideA(h);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(matcher.Match(h)),
                  std::bit_cast<std::uint64_t>(MSMatch(spectra[0], spectra[0], threshold)));
    }
}

} // namespace
