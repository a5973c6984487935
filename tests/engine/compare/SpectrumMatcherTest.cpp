// The prepared spectrum matches of one comparison give exactly MSMatch, bit for bit, for nominal spectra (dense
// table) and for everything that has to fall back to the merge, whether a spectrum was added as an object or as
// the stored lines of an entry file.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine/compare/SpectrumMatcher.h"
#include "tests/support/ByteBuilder.h"

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

// The lines of a spectrum as an entry file stores them: mass, intensity, extra, weighted intensity.
std::vector<std::uint8_t> StoredLines(const CLibraryMassSpectrumData& s)
{
    ByteBuilder b;
    for (const auto& p : s.Points())
        b.F64(p.Mass).F64(p.Intensity).F64(p.PointExtra).F64(p.WeightedIntensity);
    return b.bytes;
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
        // And as an entry file gives them: stored lines, decoded into spectrum objects only when not nominal.
        CPreparedSpectra stored(threshold);
        std::vector<CLibraryMassSpectrumData> fallbacks(spectra.size());
        for (std::size_t k = 0; k < spectra.size(); ++k) {
            stored.AddLines(StoredLines(spectra[k]), fallbacks[k]);
        }
        stored.FinishLines();
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
                // A nominal spectrum of stored lines has no object for the merge with one that is not nominal.
                if (tabled.Get(static_cast<int>(a)).Nominal || !stored.Get(static_cast<int>(b)).Nominal) {
                    const double fromLines =
                        CSpectrumMatcher::MatchByTable(tabled, static_cast<int>(a), stored, static_cast<int>(b));
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(fromLines), std::bit_cast<std::uint64_t>(expected))
                        << "spectra " << a << " and " << b << " from stored lines at threshold " << threshold;
                }
                nonZero += expected > 0;
            }
        }
        EXPECT_GT(nonZero, 1000); // the spectra overlap often enough to test the sums
        // One to four pairs at a time, of spectra of every kind and length.
        const int n = static_cast<int>(spectra.size());
        for (int a = 0; a < n; ++a)
            for (int b = 0; b + 4 <= n; b += 4) {
                const int as[4] = {a, (a + 1) % n, a, (a + 7) % n};
                const int bs[4] = {b, b + 1, b + 2, b + 3};
                const int pairs = 1 + (a + b / 4) % 4;
                double match[4];
                CSpectrumMatcher::MatchByTable(tabled, as, tabled, bs, pairs, match);
                for (int p = 0; p < pairs; ++p)
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(match[p]),
                              std::bit_cast<std::uint64_t>(MSMatch(spectra[as[p]], spectra[bs[p]], threshold)))
                        << "pair " << p << " of " << pairs << ": spectra " << as[p] << " and " << bs[p];
            }
        // Reset keeps nothing of the earlier spectra.
        matcher.Reset(threshold);
        const int h = matcher.Add(spectra[0]);
        matcher.SetSideA(h);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(matcher.Match(h)),
                  std::bit_cast<std::uint64_t>(MSMatch(spectra[0], spectra[0], threshold)));
    }
}

// Stored lines are prepared as their spectrum object is: one line that makes a spectrum not nominal (or is below
// the threshold) at every place of spectra of 1 to 13 lines, read in blocks or one by one.
TEST(SpectrumMatcher, StoredLinesArePreparedAsTheirSpectrum)
{
    int counts[2] = {0, 0};
    for (int change = 0; change < 26; ++change)
        for (int lines = 1; lines <= 13; ++lines)
            for (int at = 0; at < lines; ++at) {
                CLibraryMassSpectrumData s;
                for (int k = 0; k < lines; ++k) {
                    CLibraryMassSpectrumPoint p(40 + 2 * k, 10 + k, 1 + 3 * k, 7);
                    const double values[] = {
                        p.Mass, 40.0 + 2 * k - 2, 40.0 + 2 * k - 3, p.Mass + 0.5, 5000, -0.0,
                        -0.5,   std::nan(""),     1e308 * 10,       std::nan(""), 1,    std::nan("")};
                    double& field = change % 13 < 8 ? p.Mass : change % 13 < 10 ? p.WeightedIntensity : p.Intensity;
                    if (k == at && change % 13 < 12)
                        field = values[change % 13];
                    if (k == at && change % 13 == 12)
                        p.Intensity = 1, p.WeightedIntensity = -1e308 * 10; // below 5: its weight is never used
                    s.Append(p);
                }
                const double threshold = change < 13 ? 0.0 : 5.0;
                CPreparedSpectra object(threshold);
                object.Add(s);
                CPreparedSpectra stored(threshold);
                CLibraryMassSpectrumData fallback;
                stored.Add(s); // the stored lines follow other lines in the arrays
                stored.AddLines(StoredLines(s), fallback);
                stored.FinishLines();
                const CPreparedSpectra::Entry& a = object.Get(0);
                const CPreparedSpectra::Entry& b = stored.Get(1);
                const std::string where =
                    std::to_string(change) + ", " + std::to_string(lines) + " lines, at " + std::to_string(at);
                ASSERT_EQ(a.Nominal, b.Nominal) << where;
                ASSERT_EQ(a.Count, b.Count) << where;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(a.SumOfSquares), std::bit_cast<std::uint64_t>(b.SumOfSquares))
                    << where;
                for (std::uint32_t k = 0; k < a.Count; ++k)
                    ASSERT_TRUE(object.Masses()[a.First + k] == stored.Masses()[b.First + k] &&
                                object.Weights()[a.First + k] == stored.Weights()[b.First + k])
                        << where << ", line " << k;
                if (!b.Nominal)
                    ASSERT_EQ(StoredLines(*b.Spectrum), StoredLines(s)) << where;
                ++counts[a.Nominal];
            }
    EXPECT_GT(counts[1], 600);
    EXPECT_GT(counts[0], 1500);
}

} // namespace
