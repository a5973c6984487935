#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "tests/readers/common/SyntheticRun.h"
#include "readers/peak-detector/ChromatogramBuilder.h"
#include "engine/peaks/PeakDetector.h"

using namespace corvelin;

using namespace synthetic;

namespace {

struct Scenario {
    const char* name;
    RunSpec spec;
};

void PrintTo(const Scenario& c, std::ostream* os)
{
    *os << c.name;
}

RunSpec Spec(std::vector<Component> components, double noise = 20, double massOffset = 0, double interval = 0.5)
{
    RunSpec s;
    s.Components = std::move(components);
    s.NoiseSigma = noise;
    s.MassOffset = massOffset;
    s.IntervalSeconds = interval;
    return s;
}

class DetectorScenario : public ::testing::TestWithParam<Scenario> {};

// Every injected component is found once, at its apex (within one scan), with its area (within 3 %) and its
// spectrum (MS match at least 0.99); nothing else is found.
TEST_P(DetectorScenario, FindsInjectedPeaks)
{
    const RunSpec& spec = GetParam().spec;
    const CScanRun run = ToScanRun(MakeScans(spec));
    const CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
    ASSERT_EQ(list.Peaks.size(), spec.Components.size());
    for (std::size_t i = 0; i < spec.Components.size(); ++i) {
        const Component& c = spec.Components[i];
        const CDetectedPeak& p = list.Peaks[i];
        SCOPED_TRACE(i);
        EXPECT_NEAR(p.RT * 60, c.ApexSeconds, spec.IntervalSeconds);
        EXPECT_NEAR(p.Area, c.ExpectedArea(), 0.03 * c.ExpectedArea());
        EXPECT_NEAR(p.Height, c.Height, 0.05 * c.Height);
        EXPECT_LT(p.StartRT, p.RT);
        EXPECT_GT(p.EndRT, p.RT);
        EXPECT_GE(MSMatch(ToSpectrum(p.Spectrum), ExpectedSpectrum(c), 0), 0.99);
        // Masses ascending, largest line 100 %.
        double largest = 0;
        for (std::size_t k = 0; k < p.Spectrum.size(); ++k) {
            if (k > 0) {
                EXPECT_LT(p.Spectrum[k - 1].first, p.Spectrum[k].first);
            }
            largest = std::max(largest, p.Spectrum[k].second);
        }
        EXPECT_DOUBLE_EQ(largest, 100.0);
    }
    // Totals are the sums over the peaks found.
    EXPECT_DOUBLE_EQ(list.TotalArea, std::accumulate(list.Peaks.begin(), list.Peaks.end(), 0.0,
                                                     [](double a, const CDetectedPeak& p) { return a + p.Area; }));
    EXPECT_DOUBLE_EQ(list.TotalHeight, std::accumulate(list.Peaks.begin(), list.Peaks.end(), 0.0,
                                                       [](double a, const CDetectedPeak& p) { return a + p.Height; }));
}

INSTANTIATE_TEST_SUITE_P(Runs, DetectorScenario,
                         ::testing::Values(Scenario{"Clean", Spec(ThreeComponents(), 0)},
                                           Scenario{"Noisy", Spec(ThreeComponents(), 60)},
                                           // Accurate masses a little off the nominal value are binned to it.
                                           Scenario{"FractionalMasses", Spec(ThreeComponents(), 20, 0.31)},
                                           Scenario{"NegativeMassDefect", Spec(ThreeComponents(), 20, -0.38)},
                                           // Slow scanning: peaks only a few scans wide.
                                           Scenario{"SlowScans", Spec({{150.0, 2.5, 1e5, {{50, 10}, {60, 100}}},
                                                                       {200.0, 2.5, 8e4, {{70, 100}, {90, 50}}}},
                                                                      20, 0, 1.2)},
                                           // Two peaks that touch at 6 sigma: split at the valley, both areas kept.
                                           Scenario{"Adjacent", Spec({{150.0, 1.5, 1e5, {{50, 100}, {61, 30}}},
                                                                      {159.0, 1.5, 1e5, {{73, 100}, {147, 40}}}})}),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

TEST(PeakDetector, BackgroundIonsAreSubtractedFromTheApexSpectrum)
{
    RunSpec spec = Spec({{150.0, 2.0, 5e4, {{91, 100}, {65, 20}}}}, 10);
    spec.Background = {{28, 3000.0}, {91, 500.0}};
    const CPeakList list = DetectPeaks(ToScanRun(MakeScans(spec)), CPeakDetectorSettings{});
    ASSERT_EQ(list.Peaks.size(), 1u);
    for (const auto& [m, v] : list.Peaks[0].Spectrum)
        EXPECT_NE(m, 28) << "constant background ion left in the spectrum";
    EXPECT_GE(MSMatch(ToSpectrum(list.Peaks[0].Spectrum), ExpectedSpectrum(spec.Components[0]), 0), 0.99);
}

TEST(PeakDetector, SignalToNoiseLimitDecides)
{
    // Noise of the total-ion signal is about 20 * sqrt(3); one peak far above, one at about 3 noise units.
    const RunSpec spec = Spec({{120.0, 1.5, 5e4, {{43, 100}}}, {200.0, 1.5, 100, {{99, 100}}}}, 20);
    const CScanRun run = ToScanRun(MakeScans(spec));
    const CPeakList strict = DetectPeaks(run, CPeakDetectorSettings{});
    ASSERT_EQ(strict.Peaks.size(), 1u);
    EXPECT_NEAR(strict.Peaks[0].RT * 60, 120.0, 0.5);
    EXPECT_GT(strict.Noise, 0);

    const CPeakList noiseOnly = DetectPeaks(ToScanRun(MakeScans(Spec({}, 50))), CPeakDetectorSettings{});
    EXPECT_TRUE(noiseOnly.Peaks.empty());
}

TEST(PeakDetector, ShortExtractFilledWithPeaksKeepsItsNoiseEstimate)
{
    // 21 scans, two peaks covering most of them (a short extract of a run): the noise must come from the few
    // quiet scans, not from the peaks' flanks.
    RunSpec spec = Spec({{5.0, 1.2, 1e8, {{43, 100}, {57, 40}}}, {11.0, 1.0, 2e8, {{91, 100}, {92, 70}}}}, 2e4, 0, 1.0);
    spec.Scans = 21;
    spec.FirstSeconds = 0;
    spec.Background = {{28, 1.2e7}};
    const CPeakList list = DetectPeaks(ToScanRun(MakeScans(spec)), CPeakDetectorSettings{});
    ASSERT_EQ(list.Peaks.size(), 2u);
    EXPECT_NEAR(list.Peaks[0].RT * 60, 5.0, 1.0);
    EXPECT_NEAR(list.Peaks[1].RT * 60, 11.0, 1.0);
}

TEST(PeakDetector, DegenerateRunsGiveNoPeaks)
{
    EXPECT_TRUE(DetectPeaks(CScanRun{}, CPeakDetectorSettings{}).Peaks.empty());
    CScanRun zeros;
    for (int i = 0; i < 10; ++i) {
        zeros.AddScan(i * 0.01);
        zeros.AddLine(50, 0);
        zeros.AddLine(-3, 100);  // impossible mass
        zeros.AddLine(1e9, 100); // beyond the nominal-mass bins
        zeros.AddLine(60, std::nan(""));
    }
    EXPECT_TRUE(DetectPeaks(zeros, CPeakDetectorSettings{}).Peaks.empty());
    CScanRun sameTime; // all scans at one time: no division by zero, no crash
    for (int i = 0; i < 20; ++i) {
        sameTime.AddScan(1.0);
        sameTime.AddLine(50, i == 10 ? 1e6 : 10);
    }
    for (const auto& p : DetectPeaks(sameTime, CPeakDetectorSettings{}).Peaks)
        EXPECT_TRUE(std::isfinite(p.Area));
}

TEST(PeakDetector, MinimumAreaAndMaxPeaksFilterButKeepTotals)
{
    // Areas in the ratio 6 : 3 : 1.
    RunSpec spec =
        Spec({{100.0, 1.5, 6e4, {{43, 100}}}, {150.0, 1.5, 3e4, {{57, 100}}}, {200.0, 1.5, 1e4, {{71, 100}}}}, 5);
    const CPeakList all = DetectPeaks(ToScanRun(MakeScans(spec)), CPeakDetectorSettings{});
    ASSERT_EQ(all.Peaks.size(), 3u);

    CPeakList filtered = all;
    FilterPeaks(filtered, 20.0, 0); // the 10 % peak goes
    ASSERT_EQ(filtered.Peaks.size(), 2u);
    EXPECT_NEAR(filtered.Peaks[0].RT * 60, 100.0, 0.5);
    EXPECT_NEAR(filtered.Peaks[1].RT * 60, 150.0, 0.5);
    EXPECT_DOUBLE_EQ(filtered.TotalArea, all.TotalArea);

    CPeakList none = all;
    FilterPeaks(none, 0.0, 0);
    EXPECT_EQ(none.Peaks.size(), 3u);

    CPeakList largest = all;
    FilterPeaks(largest, 0.0, 2); // keeps the two largest, still in RT order
    ASSERT_EQ(largest.Peaks.size(), 2u);
    EXPECT_LT(largest.Peaks[0].RT, largest.Peaks[1].RT);
    EXPECT_NEAR(largest.Peaks[1].RT * 60, 150.0, 0.5);
}

TEST(PeakDetector, FillsTheChromatogramRecord)
{
    RunSpec spec = Spec(ThreeComponents(), 20);
    CScanRun run = ToScanRun(MakeScans(spec));
    run.SampleName = "mix";
    run.Comment = "10 ng";
    run.DataFile = "RUN1.CDF";
    const CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
    CLibraryChromatogram c;
    FillChromatogram(run, list, c);
    EXPECT_EQ(c.SampleName, "mix");
    EXPECT_EQ(c.Comment, "10 ng");
    EXPECT_EQ(c.DataFile, "RUN1.CDF");
    ASSERT_EQ(c.PeakCount, 3);
    ASSERT_EQ(c.Peaks.size(), 3u);
    EXPECT_DOUBLE_EQ(c.TotalArea, list.TotalArea);
    EXPECT_DOUBLE_EQ(c.TotalHeight, list.TotalHeight);
    for (int i = 0; i < 3; ++i) {
        const auto* p = c.GetPeak(i);
        EXPECT_EQ(p->PeakNumber, i + 1);
        EXPECT_EQ(p->RI, -1);
        EXPECT_DOUBLE_EQ(p->RT, list.Peaks[i].RT);
        EXPECT_GT(p->WidthSeconds(), 0);
        double largestWeighted = 0;
        for (const auto& line : p->Spectrum.Points())
            largestWeighted = std::max(largestWeighted, line.WeightedIntensity);
        EXPECT_DOUBLE_EQ(largestWeighted, 100.0);
    }
}

} // namespace
