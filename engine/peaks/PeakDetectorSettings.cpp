#include "engine/peaks/PeakDetectorSettings.h"

#include <algorithm>
#include <cmath>

namespace corvelin {

void CPeakDetectorSettings::Sanitize() noexcept
{
    const CPeakDetectorSettings defaults;
    SmoothingWidth = std::clamp(SmoothingWidth, 1, 51);
    if (SmoothingWidth % 2 == 0)
        ++SmoothingWidth;
    if (!(SignalToNoise > 0) || !std::isfinite(SignalToNoise))
        SignalToNoise = defaults.SignalToNoise;
    if (!(SpectrumThreshold >= 0) || SpectrumThreshold >= 100)
        SpectrumThreshold = defaults.SpectrumThreshold;
    MaxNominalMass = std::clamp(MaxNominalMass, 10, 100000);
    MaxPeaks = std::max(MaxPeaks, 0);
}

const std::vector<CPeakDetectorParameter>& PeakDetectorParameters()
{
    static const std::vector<CPeakDetectorParameter> parameters = {
        {"SmoothingWidth", "Smoothing width",
         "Scans in the moving average of the total-ion chromatogram before peaks are looked for (odd; 1 = no "
         "smoothing). Wider smoothing merges noise spikes but also close peaks.",
         "scans", 1, 51, 0},
        {"SignalToNoise", "Signal to noise",
         "How many noise units a peak's apex must rise above the higher of its two edges to count as a peak. "
         "Lower finds smaller peaks.",
         "noise units", 0.1, 1000, 1},
        {"SpectrumThreshold", "Spectrum threshold",
         "Lines of a peak's apex spectrum below this share of its largest line are dropped.", "% of the base peak", 0,
         99.9, 1},
        {"MaxNominalMass", "Largest mass",
         "Masses that round above this are ignored in the chromatogram and the spectra.", "m/z", 10, 100000, 0},
        {"MaxPeaks", "Peak limit", "Keep at most this many peaks, the largest by area (0 = all).", "peaks", 0, 100000,
         0},
    };
    return parameters;
}

double PeakDetectorValue(const CPeakDetectorSettings& settings, std::size_t i)
{
    switch (i) {
    case 0:
        return settings.SmoothingWidth;
    case 1:
        return settings.SignalToNoise;
    case 2:
        return settings.SpectrumThreshold;
    case 3:
        return settings.MaxNominalMass;
    case 4:
        return settings.MaxPeaks;
    default:
        return 0;
    }
}

void SetPeakDetectorValue(CPeakDetectorSettings& settings, std::size_t i, double value)
{
    const auto whole = [value] { return static_cast<int>(std::clamp(std::lround(value), -1000000L, 1000000L)); };
    switch (i) {
    case 0:
        settings.SmoothingWidth = whole();
        break;
    case 1:
        settings.SignalToNoise = value;
        break;
    case 2:
        settings.SpectrumThreshold = value;
        break;
    case 3:
        settings.MaxNominalMass = whole();
        break;
    case 4:
        settings.MaxPeaks = whole();
        break;
    default:
        break;
    }
}

} // namespace corvelin
