#pragma once
// The ion-current traces of a scan run that the program plots: the total-ion current per scan as the peak
// detector sums it, and the current of single nominal masses (extracted-ion chromatograms).
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

// Whether the peak detector counts a line: a mass from 0.5 up that rounds to at most maxNominalMass and a
// positive, finite intensity.
CORVELIN_ENGINE_EXPORT bool CountsAsIonLine(double mass, double intensity, int maxNominalMass) noexcept;

// One value per scan: the sum of the intensities of the lines the detector counts (its raw total-ion
// chromatogram, before smoothing).
CORVELIN_ENGINE_EXPORT std::vector<double> TotalIonCurrent(const CScanRun& run, int maxNominalMass);

// One value per scan: the summed intensity of the lines that round to nominalMass (0 for a scan without one).
CORVELIN_ENGINE_EXPORT std::vector<double> ExtractedIonCurrent(const CScanRun& run, int nominalMass);

// The masses typed for extracted-ion chromatograms: whole numbers separated by blanks, commas or semicolons,
// each 1 ... maxNominalMass, the first of repeats kept, at most 8. Anything else in the text is skipped.
CORVELIN_ENGINE_EXPORT std::vector<int> ParseNominalMasses(const std::string& text, int maxNominalMass);

} // namespace corvelin
