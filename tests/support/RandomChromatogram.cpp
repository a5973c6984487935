#include "tests/support/RandomChromatogram.h"

#include <limits>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {

double RandomRetention(std::mt19937_64& rng, double step, double scale)
{
    std::uniform_int_distribution<int> pick(0, 199);
    const int p = pick(rng);
    if (p == 0)
        return 0;
    if (p == 1)
        return 0.001;
    if (p == 2)
        return std::numeric_limits<double>::quiet_NaN();
    if (p == 3)
        return std::numeric_limits<double>::infinity();
    // A grid, so that differences of exactly 1, 2 and 3 windows (up to rounding) occur.
    return scale + step * pick(rng) / 4;
}

} // namespace

void RandomSpectrum(CLibraryMassSpectrumData& s, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pick(0, 99);
    const int kind = pick(rng);
    s.Clear();
    if (kind < 5)
        return; // empty
    if (kind < 60) {
        // one of four templates, so that pair values tie
        const int t = kind % 4;
        for (int m = 40 + t; m < 60; m += 3)
            s.Append({static_cast<double>(m), 10.0 + 20 * ((m + t) % 5), 0});
    } else {
        std::uniform_real_distribution<double> intensity(0, 100);
        for (int m = 40; m < 60; ++m)
            if (pick(rng) < 40)
                s.Append({m + (pick(rng) < 10 ? 0.7 : 0.0), pick(rng) < 10 ? 50.0 : intensity(rng), 0});
    }
    s.ApplyWeighting();
}

void RandomChromatogram(CLibraryChromatogram& c, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> count(0, 24);
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_real_distribution<double> size(1, 1000);
    const int n = count(rng);
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        auto& p = c.AddPeak();
        p.RT = RandomRetention(rng, 0.05, 0.5);
        const int ri = pick(rng);
        p.RI = ri < 10 ? -1 : ri < 15 ? 0 : RandomRetention(rng, 5, 800);
        p.Area = pick(rng) < 5 ? 0 : size(rng);
        p.Height = pick(rng) < 5 ? 0 : size(rng);
        RandomSpectrum(p.Spectrum, rng);
        sum += p.Area;
    }
    const int totals = pick(rng);
    c.TotalArea = totals < 5 ? 0 : sum * (totals < 50 ? 1 : 1.5);
    c.TotalHeight = totals < 8 ? 0 : sum;
    if (pick(rng) < 3)
        c.PeakCount += 2; // malformed: more peaks counted than held
    c.NumberPeaks();
}

void RandomOptions(CSearchOptions& o, std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pick(0, 99);
    o.MSMatching = pick(rng) < 60;
    o.RTMatching = pick(rng) < 70;
    o.RIMatching = pick(rng) < 50;
    o.AreaMatching = pick(rng) < 40;
    o.HeightMatching = pick(rng) < 40;
    o.MultipleMatching = pick(rng) < 40;
    o.AbsoluteAreaHeight = pick(rng) < 30;
    const double rtWidths[] = {0.05, 0.1, 0.15, 0.5, 0};
    o.RTWindowWidth = rtWidths[pick(rng) % 5];
    const double riWidths[] = {5, 15, 25};
    o.RIWindowWidth = riWidths[pick(rng) % 3];
    o.Weighting = pick(rng) % 6;
    const char* ranges[] = {"*", "*", "*", "1-2.5", "0.5-1;2-3", "2-1"};
    o.TimeRange = ranges[pick(rng) % 6];
    o.MassThresholdOn = pick(rng) < 30;
    o.MassThreshold = pick(rng) < 50 ? 0.5 : 50;
    o.AreaThresholdOn = pick(rng) < 30;
    o.AreaThreshold = pick(rng) < 50 ? 1 : 5;
    if (pick(rng) < 15) {
        o.SpectralListMode = 1 + pick(rng) % 2;
        o.FitThreshold = 500;
        CLibraryMassSpectrumData s;
        RandomSpectrum(s, rng);
        o.AddSpectrum("listed", s, true);
    }
}

} // namespace corvelin
