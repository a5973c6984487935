#pragma once
// The per-entry step of the library search: read one library entry file and compare the unknown with it both
// ways. Two paths give the same hits: Prepared (the search's) reads the entry straight into a prepared
// chromatogram and compares both ways at once (CBothWaysComparer); General reads the whole entry into peak
// objects and calls CompareChromatograms each way, as every other comparison does. Prepared hands weighted
// comparisons and entries with unusual pair values to General itself. One comparer per thread; the unknown and
// the options must outlive it and stay unchanged.
#include <string>

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
    CLibraryEntryComparer(const CLibraryEntryComparer&) = delete;
    CLibraryEntryComparer& operator=(const CLibraryEntryComparer&) = delete;

    // Reads the entry file; unless it cannot be read or the unknown or the entry has more than maxPeaks peaks
    // (PeakCount), compares: hit gets the forward block (unknown against entry) and the reverse block (entry
    // against unknown). Throws what a comparison may throw (std::bad_alloc).
    EntryOutcome Compare(const std::string& path, CLibraryHit& hit);
    // The entry read last: its header texts and numbers (its peaks only after the general path).
    const CLibraryChromatogramData& Entry() const noexcept { return *m_lastEntry; }

private:
    EntryOutcome CompareGeneral(const std::string& path, CLibraryHit& hit);
    bool TooManyPeaks(const CLibraryChromatogramData& entry) const noexcept;

    const CLibraryChromatogram& m_unknown;
    const CSearchOptions& m_options;
    int m_maxPeaks;
    EntryComparePath m_path;
    const CLibraryChromatogramData* m_lastEntry;
    // General path: the entry, the scratch table, both sides' prepared spectra.
    CLibraryChromatogram m_entry;
    CCellTable m_cells;
    CPreparedSpectra m_unknownSpectra;
    CPreparedSpectra m_entrySpectra;
    // Prepared path.
    CPreparedChromatogram m_preparedUnknown;
    CPreparedChromatogram m_preparedEntry;
    CBothWaysComparer m_bothWays;
};

} // namespace corvelin
