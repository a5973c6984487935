#pragma once
// MS matches of many spectrum pairs at one intensity threshold, as in one comparison of two chromatograms: every
// spectrum's sum of squares is computed once, and spectra whose masses are ascending integers (what the
// instruments deliver) are matched through a dense mass table instead of the merge.
//
// The result is exactly MSMatch's. With strictly ascending integer masses on both sides the merge pairs exactly
// the lines of equal mass whose intensities are both >= the threshold, in ascending mass order; the dense table
// sums the same products in the same order, plus products with 0 for masses that have no partner, which leave
// a sum of finite terms unchanged. Spectra that do not qualify (fractional, unordered, huge or non-finite
// values) go through MSMatch itself.
#include <cstdint>
#include <vector>

#include "core/LibraryMassSpectrum.h"

class CSpectrumMatcher {
public:
    explicit CSpectrumMatcher(double threshold = 0) : m_threshold(threshold) {}

    // Forgets every spectrum and sets a new threshold; keeps the allocated memory for the next comparison.
    void Reset(double threshold);

    // Registers a spectrum (kept by reference; it must outlive the matcher) and returns its handle.
    int Add(const CLibraryMassSpectrumData& spectrum);

    // Makes handle the side A of the following Match calls (-1: none).
    void SetSideA(int handle);
    // MSMatch(side A, spectrum of handle, threshold).
    double Match(int handle) const;

private:
    struct Entry {
        const CLibraryMassSpectrumData* Spectrum;
        double SumOfSquares;
        bool Nominal;
        std::uint32_t First; // range of its lines with intensity >= threshold in m_masses / m_weights
        std::uint32_t Count;
    };
    static constexpr int LargestNominalMass = 4095;

    double m_threshold;
    std::vector<Entry> m_entries;
    std::vector<std::uint16_t> m_masses;
    std::vector<double> m_weights;
    std::vector<double> m_dense; // side A's weights by mass, 0 elsewhere (only while side A is nominal)
    int m_sideA = -1;
};
