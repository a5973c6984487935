#pragma once
// Random chromatograms and search options for differential tests: small peak lists whose retention values lie on
// a grid (so that differences of exactly 1, 2 and 3 windows occur) or are 0, 0.001, not a number or infinite;
// spectra from four templates (so that pair values tie), random ones with fractional masses, or empty; sizes and
// totals of 0; sometimes more peaks counted than held. The options switch every factor and threshold at random.
#include <random>

namespace corvelin {

class CLibraryChromatogram;
class CLibraryMassSpectrumData;
class CSearchOptions;

void RandomSpectrum(CLibraryMassSpectrumData& s, std::mt19937_64& rng);
// Appends up to 24 random peaks to c and sets its totals.
void RandomChromatogram(CLibraryChromatogram& c, std::mt19937_64& rng);
void RandomOptions(CSearchOptions& o, std::mt19937_64& rng);

} // namespace corvelin
