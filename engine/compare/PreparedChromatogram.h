#pragma once
// A chromatogram prepared for comparisons under one set of search options: its header (texts, totals, the
// claimed peak count), the fields of the peaks present, which of them take part and which lie in the RT search
// range, the area sum inside that range, and the peaks' spectra prepared at the options' mass threshold (handle
// i = peak i). A library entry is prepared straight from its file's bytes: the spectrum lines go into the flat
// arrays of CPreparedSpectra without a spectrum object per peak. Prepared once, a chromatogram serves any number
// of comparisons (CBothWaysComparer) — one library entry against many unknowns, say — from any thread, until it
// is prepared again.
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/PreparedSpectra.h"
#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CSearchOptions;

class CORVELIN_ENGINE_EXPORT CPreparedChromatogram {
public:
    CPreparedChromatogram() = default;
    CPreparedChromatogram(const CPreparedChromatogram&) = delete;
    CPreparedChromatogram& operator=(const CPreparedChromatogram&) = delete;

    // Prepares a chromatogram, which must stay alive and unchanged while this is used (it is referred to).
    void Prepare(const CLibraryChromatogramData& chromatogram, const CSearchOptions& options);
    // Reads a library entry file and prepares it. False exactly where CLibraryChromatogram::LoadEntry is false
    // (the prepared state is then undefined). Never throws. Only spectra that are not nominal are decoded into
    // spectrum objects, unless keepSpectra is set or the spectral list is in use (it compares whole spectra).
    bool PrepareEntryFile(const std::string& path, const CSearchOptions& options, bool keepSpectra = false) noexcept;

    // The header; a prepared entry file has no peak objects in it.
    const CLibraryChromatogramData& Header() const noexcept { return *m_header; }
    // max(0, PeakCount): the rows of a comparison.
    int ClaimedPeaks() const noexcept { return m_claimed; }
    // The peaks that exist among the claimed ones.
    int PresentPeaks() const noexcept { return static_cast<int>(m_takesPart.size()); }
    // Peak i < PresentPeaks() when it takes part or lies in the range; its spectrum is empty for an entry file
    // unless the spectral list is in use or the spectrum is not nominal.
    const CLibraryChromatogramPeakData& Peak(int i) const { return *m_peaks[static_cast<std::size_t>(i)]; }
    const std::vector<char>& TakesPart() const noexcept { return m_takesPart; }
    const std::vector<char>& InRange() const noexcept { return m_inRange; }
    // The area sum of the peaks inside the RT search range (0 when the range is "*").
    double RangeSum() const noexcept { return m_rangeSum; }
    const CPreparedSpectra& Spectra() const noexcept { return m_spectra; }
    // Builds the spectra's tables by mass (CPreparedSpectra::BuildTables) for a chromatogram compared many
    // times, unless they would take more than maxWeights doubles.
    bool BuildSpectrumTables(std::size_t maxWeights) { return m_spectra.BuildTables(maxWeights); }
    // Whether every spectrum is nominal (matched through the flat arrays alone), and whether every spectrum has
    // its spectrum object (which a match with a spectrum that is not nominal needs).
    bool AllNominal() const noexcept { return m_allNominal; }
    bool KeepsSpectra() const noexcept { return m_keepsSpectra; }

private:
    // Which present peaks take part and lie in the range, and the range sum.
    void Classify(const CSearchOptions& options);

    const CLibraryChromatogramData* m_header = nullptr;
    int m_claimed = 0;
    std::vector<const CLibraryChromatogramPeakData*> m_peaks; // null for a missing peak
    std::vector<char> m_takesPart;
    std::vector<char> m_inRange;
    double m_rangeSum = 0;
    bool m_allNominal = true;
    bool m_keepsSpectra = true;
    CPreparedSpectra m_spectra;
    // An entry file's header and peaks (kept from entry to entry, so that preparing does not allocate).
    CLibraryChromatogram m_entry;
    std::vector<std::unique_ptr<CLibraryChromatogramPeakData>> m_entryPeaks;
};

} // namespace corvelin
