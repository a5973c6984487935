#pragma once
// Spectra prepared for MS matching at one intensity threshold: each spectrum's sum of squares, and for spectra
// whose masses are ascending integers (what the instruments deliver) the masses and weighted intensities of the
// lines at or above the threshold, ready for the dense-table match of CSpectrumMatcher. Preparing is the costly
// part of a match; a set prepared once serves every comparison with the same threshold, from any thread, as
// long as the spectra it refers to are neither changed nor destroyed.
#include <cstdint>
#include <span>
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
        // The spectrum itself; only set for spectra that are not nominal or were added as a spectrum (AddLines
        // refers to no spectrum for a nominal one).
        const CLibraryMassSpectrumData* Spectrum;
        double SumOfSquares;
        bool Nominal;
        std::uint32_t First; // range of its lines with intensity >= threshold in Masses() / Weights()
        std::uint32_t Count;
        std::size_t LineCount; // all its lines
    };

    explicit CPreparedSpectra(double threshold = 0) : m_threshold(threshold) {}

    // Forgets every spectrum and sets a new threshold; keeps the allocated memory.
    void Reset(double threshold);
    // Registers a spectrum (kept by reference) and returns its handle: 0, 1, 2 ... in the order of the calls.
    int Add(const CLibraryMassSpectrumData& spectrum);
    // Registers a spectrum given as stored lines (CLibraryMassSpectrumData::ReadLineBytes) without decoding it:
    // only a spectrum that is not nominal is decoded, into fallback, which is then kept by reference. The sum of
    // squares of a nominal one is left to FinishLines, which must come before Get (Add calls it as well).
    int AddLines(std::span<const std::uint8_t> lineBytes, CLibraryMassSpectrumData& fallback);
    // Computes the sums of squares that AddLines left open (several side by side, each in the order of its lines).
    void FinishLines();
    // Reset, then every present peak's spectrum, so that handle i is the spectrum of peak i.
    void PreparePeaks(const CLibraryChromatogramData& chromatogram, double threshold);

    // Builds, for every nominal spectrum, its weights by mass from 0 to its largest mass (0 where it has no
    // line), unless they would take more than maxWeights doubles; whether they were built. A table lasts until
    // the next Reset.
    bool BuildTables(std::size_t maxWeights);
    bool HasTables() const noexcept { return !m_tableStart.empty(); }
    std::size_t TableWeights() const noexcept { return m_table.size(); }
    // The table of a nominal spectrum (after BuildTables): its weights and their count.
    const double* Table(int handle) const noexcept
    {
        return m_table.data() + m_tableStart[static_cast<std::size_t>(handle)];
    }
    std::uint32_t TableSize(int handle) const noexcept
    {
        return m_tableStart[static_cast<std::size_t>(handle) + 1] - m_tableStart[static_cast<std::size_t>(handle)];
    }

    double Threshold() const noexcept { return m_threshold; }
    int Count() const noexcept { return static_cast<int>(m_entries.size()); }
    const Entry& Get(int handle) const { return m_entries[static_cast<std::size_t>(handle)]; }
    const std::uint16_t* Masses() const noexcept { return m_masses.data(); }
    const double* Weights() const noexcept { return m_weights.data(); }

private:
    // Appends the nominal lines and the entry of a spectrum of n lines of 32 bytes each, mass at offset 0,
    // intensity at intensityOffset and weighted intensity at 24 as doubles (the layout of a stored line and of
    // CLibraryMassSpectrumPoint alike); returns whether the spectrum is nominal.
    bool Append(const std::uint8_t* lines, std::size_t n, std::size_t intensityOffset,
                const CLibraryMassSpectrumData* spectrum);
    // Append for n stored lines (no spectrum object), the sum of squares of a nominal spectrum left to
    // FinishLines.
    bool AppendLines(const std::uint8_t* lines, std::size_t n);
    // Makes room for n more lines after the ones in use; returns where they go.
    std::size_t Reserve(std::size_t n);

    double m_threshold;
    std::vector<Entry> m_entries;
    std::vector<std::uint16_t> m_masses;
    std::vector<double> m_weights;
    std::size_t m_lineCount = 0;    // the lines in use at the start of m_masses and m_weights
    std::size_t m_deferredFrom = 0; // the first entry whose sum of squares may be left to FinishLines
    std::vector<double> m_table;
    std::vector<std::uint32_t> m_tableStart; // empty without tables
};

} // namespace corvelin
