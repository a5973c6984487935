#pragma once
// Turns parsed ELU components into the program's peak list: one peak per component, ordered by RT, with area,
// height, start and end, and the component's spectrum in percent with weighted intensities. How each value is
// derived is written up in this folder's README.
#include <string>
#include <vector>

#include "readers/amdis-elu/EluParser.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

namespace amdis {

struct EluReadOptions {
    // Lines AMDIS flagged as uncertain ("N", "B", "L" after the abundance) are left out unless this is set.
    bool keepFlaggedLines = false;
    // Components whose area is below this percentage of TotalArea are left out; 0 keeps all.
    double minAreaPercent = 0;
};

// Scan time as a straight line over the scan number, fitted by least squares to the components' (SC, RT) pairs.
struct ScanClock {
    double interval = 0; // minutes per scan; 0 when it could not be derived (fewer than two distinct scans)
    double offset = 0;   // RT of scan 0
    bool Known() const noexcept { return interval > 0; }
};
ScanClock DeriveScanClock(const std::vector<EluComponent>& components);

// Area of a component: XN, else IS, else the sum of its RE profile, else 0.
double ComponentArea(const EluComponent& c);
// Height of a component: the largest value of its RE profile; without a profile, the height of a triangle of the
// component's area over its scan range.
double ComponentHeight(const EluComponent& c);
// The run's total ion signal, in the units of the areas: the median of XN x 100 / RA over the components that
// carry both (RA is XN in percent of that total); the sum of all component areas when none does.
double EstimateTotalArea(const std::vector<EluComponent>& components);

// The spectrum of pairs: lines with mass below 1 dropped, flagged lines dropped unless keepFlagged, one line per
// mass (the larger abundance wins), masses ascending, intensities in percent of the largest remaining line,
// weighted intensities by ApplyWeighting.
void BuildSpectrum(const std::vector<PeakPair>& pairs, bool keepFlagged, CLibraryMassSpectrumData& spectrum);

// Fills an empty chromatogram from a parsed file. dataFile becomes DataFile and its name without folder and
// extension the SampleName. Peaks are numbered 1 ... n.
void FillChromatogram(const EluFile& file, const EluReadOptions& options, const std::string& dataFile,
                      CLibraryChromatogram& chromatogram);

} // namespace amdis

} // namespace corvelin
