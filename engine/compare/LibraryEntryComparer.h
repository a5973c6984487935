#pragma once
// The per-entry step of the library search: read one library entry file once and compare each unknown with it
// both ways. Two paths give the same hits: Prepared (the search's) reads the entry straight into a prepared
// chromatogram and compares both ways at once (CBothWaysComparer); General reads the whole entry into peak
// objects and calls CompareChromatograms each way, as every other comparison does. Prepared hands weighted
// comparisons and entries with unusual pair values to General itself. One comparer per thread; the unknowns and
// the options must outlive it and stay unchanged.
#include <memory>
#include <string>
#include <vector>

#include "engine/compare/BothWaysComparer.h"
#include "engine/compare/CellTable.h"
#include "engine/compare/PreparedChromatogram.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CLibraryHit;
class CSearchOptions;

enum class EntryComparePath { Prepared, General };
enum class EntryOutcome { Compared, Unreadable, TooManyPeaks };

class CORVELIN_ENGINE_EXPORT CLibraryEntryComparer {
public:
    CLibraryEntryComparer(const CLibraryChromatogram& unknown, const CSearchOptions& options, int maxPeaks,
                          EntryComparePath path = EntryComparePath::Prepared);
    CLibraryEntryComparer(const std::vector<const CLibraryChromatogram*>& unknowns, const CSearchOptions& options,
                          int maxPeaks, EntryComparePath path = EntryComparePath::Prepared);
    CLibraryEntryComparer(const CLibraryEntryComparer&) = delete;
    CLibraryEntryComparer& operator=(const CLibraryEntryComparer&) = delete;

    // Reads the entry file (once for every unknown). False when it cannot be read.
    bool Read(const std::string& path);
    // Unless unknown u or the entry read last has more than maxPeaks peaks (PeakCount), compares: hit gets the
    // forward block (unknown against entry) and the reverse block (entry against unknown). Throws what a
    // comparison may throw (std::bad_alloc).
    EntryOutcome CompareWith(std::size_t u, CLibraryHit& hit);
    // Read and CompareWith the first unknown.
    EntryOutcome Compare(const std::string& path, CLibraryHit& hit);
    // The entry read last: its header texts and numbers (its peaks only after the general path).
    const CLibraryChromatogramData& Entry() const noexcept { return *m_lastEntry; }
    // Whether RI matching is on and the entry read last has no RI values to work with (fewer than 2 calibration
    // points and no peak with an RI).
    bool EntryLacksRI() const noexcept;

private:
    bool LoadGeneral();
    EntryOutcome CompareGeneral(std::size_t u, CLibraryHit& hit);
    bool TooManyPeaks(std::size_t u, const CLibraryChromatogramData& entry) const noexcept;

    std::vector<const CLibraryChromatogram*> m_unknowns;
    const CSearchOptions& m_options;
    int m_maxPeaks;
    EntryComparePath m_path;
    const CLibraryChromatogramData* m_lastEntry;
    std::string m_entryPath;
    // General path: the entry (loaded once per entry, when needed), the scratch table, both sides' spectra.
    bool m_entryLoaded = false;
    bool m_entryReadable = false;
    bool m_entrySpectraPrepared = false;
    CLibraryChromatogram m_entry;
    CCellTable m_cells;
    std::vector<CPreparedSpectra> m_unknownSpectra;
    CPreparedSpectra m_entrySpectra;
    // Prepared path.
    bool m_preparedRead = false;
    std::vector<std::unique_ptr<CPreparedChromatogram>> m_preparedUnknowns;
    bool m_allUnknownsNominal = true;
    CPreparedChromatogram m_preparedEntry;
    CBothWaysComparer m_bothWays;
};

} // namespace corvelin
