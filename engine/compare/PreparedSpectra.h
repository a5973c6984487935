#pragma once
// Spectra prepared for MS matching at one intensity threshold: each spectrum's sum of squares, and for spectra
// whose masses are ascending integers (what the instruments deliver) the masses and weighted intensities of the
// lines at or above the threshold, ready for the dense-table match of CSpectrumMatcher. Preparing is the costly
// part of a match; a set prepared once serves every comparison with the same threshold, from any thread, as
// long as the spectra it refers to are neither changed nor destroyed.
#include <cstdint>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

class CLibraryChromatogramData;

class CORVELIN_ENGINE_EXPORT CPreparedSpectra {
public:
    // Masses above this are not matched through the dense table.
    static constexpr int LargestNominalMass = 4095;

    struct CORVELIN_ENGINE_EXPORT Entry {
        const CLibraryMassSpectrumData* Spectrum;
        double SumOfSquares;
        bool Nominal;
        std::uint32_t First; // range of its lines with intensity >= threshold in Masses() / Weights()
        std::uint32_t Count;
    };

    explicit CPreparedSpectra(double threshold = 0) : m_threshold(threshold) {}

    // Forgets every spectrum and sets a new threshold; keeps the allocated memory.
    void Reset(double threshold);
    // Registers a spectrum (kept by reference) and returns its handle: 0, 1, 2 ... in the order of the calls.
    int Add(const CLibraryMassSpectrumData& spectrum);
    // Reset, then every present peak's spectrum, so that handle i is the spectrum of peak i.
    void PreparePeaks(const CLibraryChromatogramData& chromatogram, double threshold);

    double Threshold() const noexcept { return m_threshold; }
    int Count() const noexcept { return static_cast<int>(m_entries.size()); }
    const Entry& Get(int handle) const { return m_entries[static_cast<std::size_t>(handle)]; }
    const std::uint16_t* Masses() const noexcept { return m_masses.data(); }
    const double* Weights() const noexcept { return m_weights.data(); }

private:
    double m_threshold;
    std::vector<Entry> m_entries;
    std::vector<std::uint16_t> m_masses;
    std::vector<double> m_weights;
};

} // namespace corvelin
