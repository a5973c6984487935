#include "readers/peak-detector/PeakDetectorSettings.h"

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

} // namespace corvelin
