#pragma once
// Synthetic centroided GC-MS runs for the reader tests: Gaussian peaks with known spectra on a background of
// constant ions with noise. The expected area of a component is Height * Sigma * sqrt(2 pi) (counts x s).
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include "engine/core/LibraryMassSpectrum.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

namespace synthetic {

struct Component {
    double ApexSeconds;
    double SigmaSeconds;
    double Height;                  // total-ion counts at the apex
    std::map<int, double> Spectrum; // nominal mass -> relative intensity (any scale)
    double ExpectedArea() const { return Height * SigmaSeconds * std::sqrt(2 * std::numbers::pi); }
};

struct Scan {
    double Seconds;
    std::vector<std::pair<double, double>> Lines; // mass, intensity, ascending mass
};

struct RunSpec {
    int Scans = 600;
    double FirstSeconds = 60;
    double IntervalSeconds = 0.5;
    std::vector<Component> Components;
    std::map<int, double> Background{{28, 400.0}, {32, 150.0}, {44, 250.0}}; // constant ions
    double NoiseSigma = 20;                                                  // per background line and scan
    double MassOffset = 0; // added to every mass (accurate/fractional masses)
    std::uint32_t Seed = 7;
};

inline std::vector<Scan> MakeScans(const RunSpec& spec)
{
    std::mt19937 rng(spec.Seed);
    std::normal_distribution<double> noise(0.0, spec.NoiseSigma);
    std::vector<Scan> scans;
    for (int s = 0; s < spec.Scans; ++s) {
        const double t = spec.FirstSeconds + s * spec.IntervalSeconds;
        std::map<int, double> lines;
        for (const auto& [m, v] : spec.Background)
            lines[m] += std::max(0.0, v + (spec.NoiseSigma > 0 ? noise(rng) : 0.0));
        for (const Component& c : spec.Components) {
            const double z = (t - c.ApexSeconds) / c.SigmaSeconds;
            if (std::fabs(z) > 8)
                continue;
            double total = 0;
            for (const auto& [m, v] : c.Spectrum)
                total += v;
            const double g = c.Height * std::exp(-0.5 * z * z);
            for (const auto& [m, v] : c.Spectrum)
                lines[m] += g * v / total;
        }
        Scan scan{t, {}};
        for (const auto& [m, v] : lines)
            if (v > 0)
                scan.Lines.emplace_back(m + spec.MassOffset, v);
        scans.push_back(std::move(scan));
    }
    return scans;
}

inline CScanRun ToScanRun(const std::vector<Scan>& scans)
{
    CScanRun run;
    for (const Scan& s : scans) {
        run.AddScan(s.Seconds / 60.0);
        for (const auto& [m, v] : s.Lines)
            run.AddLine(m, v);
    }
    return run;
}

// The injected spectrum as the program's record, intensities in percent, weighted.
inline CLibraryMassSpectrumData ExpectedSpectrum(const Component& c)
{
    double largest = 0;
    for (const auto& [m, v] : c.Spectrum)
        largest = std::max(largest, v);
    CLibraryMassSpectrumData out;
    for (const auto& [m, v] : c.Spectrum)
        out.Append(CLibraryMassSpectrumPoint(m, v * 100.0 / largest));
    out.ApplyWeighting();
    return out;
}

inline CLibraryMassSpectrumData ToSpectrum(const std::vector<std::pair<int, double>>& lines)
{
    CLibraryMassSpectrumData out;
    for (const auto& [m, v] : lines)
        out.Append(CLibraryMassSpectrumPoint(m, v));
    out.ApplyWeighting();
    return out;
}

// Three well separated components with distinct spectra (a typical test mix).
inline std::vector<Component> ThreeComponents()
{
    return {
        {120.0, 1.5, 2.0e5, {{43, 100}, {58, 45}, {71, 12}, {86, 20}}},
        {170.0, 2.0, 1.2e5, {{77, 40}, {91, 100}, {92, 60}, {65, 15}, {51, 8}}},
        {230.0, 1.8, 6.0e4, {{57, 80}, {69, 100}, {83, 30}, {111, 22}, {154, 9}}},
    };
}

} // namespace synthetic

} // namespace corvelin
