#include "tests/support/SyntheticChromatogram.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

namespace {

void FillSpectrum(CLibraryMassSpectrumData& spectrum, int lines, std::mt19937_64& rng)
{
    std::vector<int> masses(500);
    for (int k = 0; k < 500; ++k)
        masses[k] = 30 + k;
    std::shuffle(masses.begin(), masses.end(), rng);
    masses.resize(std::clamp(lines, 0, 500));
    std::sort(masses.begin(), masses.end());
    std::uniform_real_distribution<double> intensity(0.0, 100.0);
    std::vector<double> values(masses.size());
    double largest = 0;
    for (double& v : values) {
        v = intensity(rng);
        v = v * v / 100; // many small lines, few large ones
        largest = std::max(largest, v);
    }
    spectrum.Clear();
    for (std::size_t k = 0; k < masses.size(); ++k)
        spectrum.Append({static_cast<double>(masses[k]), largest > 0 ? values[k] * 100 / largest : 0});
    spectrum.ApplyWeighting();
}

} // namespace

std::unique_ptr<CLibraryChromatogram> MakeSyntheticChromatogram(const CSyntheticShape& shape, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    auto c = std::make_unique<CLibraryChromatogram>();
    c->SampleName = "synthetic";
    std::uniform_real_distribution<double> rt(shape.FirstRT, shape.LastRT);
    std::uniform_real_distribution<double> logSize(3.0, 7.0);
    std::vector<double> times(std::max(0, shape.Peaks));
    for (double& t : times)
        t = rt(rng);
    std::sort(times.begin(), times.end());
    double totalArea = 0;
    double totalHeight = 0;
    for (double t : times) {
        auto& p = c->AddPeak();
        p.RT = t;
        p.StartRT = t - 0.02;
        p.EndRT = t + 0.03;
        p.RI = shape.Calibrated ? 800 + (t - shape.FirstRT) * 50 : -1;
        p.Area = std::pow(10.0, logSize(rng));
        p.Height = p.Area / 5;
        totalArea += p.Area;
        totalHeight += p.Height;
        FillSpectrum(p.Spectrum, shape.Lines, rng);
    }
    c->TotalArea = totalArea * 1.1;
    c->TotalHeight = totalHeight * 1.1;
    c->NumberPeaks();
    return c;
}

std::unique_ptr<CLibraryChromatogram> MakeSyntheticVariant(const CLibraryChromatogram& source, std::uint64_t seed,
                                                           double rtJitter, double noise)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> shift(-rtJitter, rtJitter);
    std::uniform_real_distribution<double> scale(0.7, 1.3);
    std::uniform_real_distribution<double> disturb(-noise, noise);
    auto c = std::make_unique<CLibraryChromatogram>();
    c->SampleName = source.SampleName + " variant";
    c->TotalArea = source.TotalArea;
    c->TotalHeight = source.TotalHeight;
    for (int i = 0; i < source.PeakCount; ++i) {
        const CLibraryChromatogramPeakData* s = source.GetPeak(i);
        if (!s)
            continue;
        auto& p = c->AddPeak();
        const double d = shift(rng);
        p.RT = s->RT + d;
        p.StartRT = s->StartRT + d;
        p.EndRT = s->EndRT + d;
        p.RI = s->RI == -1 ? -1 : s->RI + d * 50;
        p.Area = s->Area * scale(rng);
        p.Height = s->Height * scale(rng);
        for (const auto& line : s->Spectrum.Points())
            p.Spectrum.Append({line.Mass, std::clamp(line.Intensity + disturb(rng), 0.0, 100.0)});
        p.Spectrum.ApplyWeighting();
    }
    c->NumberPeaks();
    return c;
}

} // namespace corvelin
