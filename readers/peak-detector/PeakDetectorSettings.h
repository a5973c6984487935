#pragma once
// Parameters of the shared peak detector. Each reader plug-in reads them from its own settings section
// (machine scope, the section handed to SetRegistryPath, e.g. "Plugins\ANDI-MS"); absent or unusable values
// fall back to the defaults below. Fractional values are stored as texts ("%.1f"), integers as integers.
#include <string>

namespace corvelin {

struct CPeakDetectorSettings {
    // "SmoothingWidth": scans in the centred moving average of the total-ion chromatogram (odd, 1 = none).
    int SmoothingWidth = 3;
    // "SignalToNoise": a peak must rise this many noise units above the higher of its two edges.
    double SignalToNoise = 10.0;
    // "SpectrumThreshold": apex-spectrum lines below this percentage of the largest line are dropped.
    double SpectrumThreshold = 0.5;
    // "MaxNominalMass": masses that round above this are ignored (bounds the nominal-mass bins).
    int MaxNominalMass = 2000;
    // "MaxPeaks": keep at most this many peaks, the largest by area (0 = all).
    int MaxPeaks = 0;

    // Reads the values from the settings store; an empty section gives the defaults.
    static CPeakDetectorSettings FromSettings(const std::string& section);
    // Clamps every value into its usable range (odd smoothing width 1...51, S/N > 0, ...).
    void Sanitize() noexcept;
};

} // namespace corvelin
