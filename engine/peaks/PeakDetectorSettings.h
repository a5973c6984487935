#pragma once
// Parameters of the shared peak detector. Each reader plug-in reads them from its own settings section
// (machine scope, the section handed to SetRegistryPath, e.g. "Plugins\ANDI-MS"); absent or unusable values
// fall back to the defaults below. Fractional values are stored as texts ("%.1f"), integers as integers.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPeakDetectorSettings {
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
    // Writes every value (sanitized) into section, in the forms FromSettings reads: the module of that section
    // detects with them at its next read. Does nothing for an empty section.
    void Store(const std::string& section) const;
    // Clamps every value into its usable range (odd smoothing width 1...51, S/N > 0, ...).
    void Sanitize() noexcept;
};

// One parameter as the settings dialog shows it: the stored value name, a label, what it does and its unit,
// its usable range and the decimals it is stored with (0 = integer).
struct CORVELIN_ENGINE_EXPORT CPeakDetectorParameter {
    const char* ValueName;
    const char* Label;
    const char* Meaning;
    const char* Unit;
    double Minimum;
    double Maximum;
    int Decimals;
};

// The parameters in dialog order (the fields of CPeakDetectorSettings).
CORVELIN_ENGINE_EXPORT const std::vector<CPeakDetectorParameter>& PeakDetectorParameters();
// Parameter i's value in settings, and setting it (unclamped; Sanitize clamps).
CORVELIN_ENGINE_EXPORT double PeakDetectorValue(const CPeakDetectorSettings& settings, std::size_t i);
CORVELIN_ENGINE_EXPORT void SetPeakDetectorValue(CPeakDetectorSettings& settings, std::size_t i, double value);

} // namespace corvelin
