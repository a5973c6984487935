#include "engine/compare/LibraryEntryComparer.h"

#include <algorithm>
#include <utility>

#include "engine/compare/Compare.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"

namespace corvelin {

CLibraryEntryComparer::CLibraryEntryComparer(const CLibraryChromatogram& unknown, const CSearchOptions& options,
                                             int maxPeaks, EntryComparePath path)
    : m_unknown(unknown), m_options(options), m_maxPeaks(maxPeaks), m_path(path), m_lastEntry(&m_entry)
{
    if (!CBothWaysComparer::Supports(options))
        m_path = EntryComparePath::General;
    // The unknown is prepared once for all entries (for the general path too, which the prepared one may take).
    m_unknownSpectra.PreparePeaks(m_unknown, MassThresholdOf(m_options));
    if (m_path == EntryComparePath::Prepared)
        m_preparedUnknown.Prepare(m_unknown, m_options);
}

bool CLibraryEntryComparer::TooManyPeaks(const CLibraryChromatogramData& entry) const noexcept
{
    return std::max(m_unknown.PeakCount, entry.PeakCount) > m_maxPeaks;
}

EntryOutcome CLibraryEntryComparer::Compare(const std::string& path, CLibraryHit& hit)
{
    if (m_path == EntryComparePath::General)
        return CompareGeneral(path, hit);
    // A nominal unknown needs no spectrum objects of the entry.
    if (!m_preparedEntry.PrepareEntryFile(path, m_options, !m_preparedUnknown.AllNominal()))
        return EntryOutcome::Unreadable;
    m_lastEntry = &m_preparedEntry.Header();
    if (TooManyPeaks(m_preparedEntry.Header()))
        return EntryOutcome::TooManyPeaks;
    CLibraryHit reverse;
    if (!m_bothWays.Compare(m_preparedUnknown, m_preparedEntry, m_options, hit, reverse))
        return CompareGeneral(path, hit);
    hit.SetReverseFrom(reverse);
    return EntryOutcome::Compared;
}

EntryOutcome CLibraryEntryComparer::CompareGeneral(const std::string& path, CLibraryHit& hit)
{
    m_lastEntry = &m_entry;
    m_entry.Clear();
    if (!m_entry.LoadEntry(path))
        return EntryOutcome::Unreadable;
    if (TooManyPeaks(m_entry))
        return EntryOutcome::TooManyPeaks;
    const std::size_t size = static_cast<std::size_t>(std::max({m_unknown.PeakCount, m_entry.PeakCount, 0}));
    if (m_cells.Rows() < size)
        m_cells.Resize(size, size);
    // The table is scratch memory of the comparisons; it needs no reset.
    CLibraryHit reverse;
    m_entrySpectra.PreparePeaks(m_entry, MassThresholdOf(m_options));
    CCompareTuning tuning;
    tuning.TableIsScratch = true; // only the hits are reported
    tuning.ThisSpectra = &m_unknownSpectra;
    tuning.OtherSpectra = &m_entrySpectra;
    CompareChromatograms(m_unknown, m_entry, m_options, &hit, &m_cells, tuning);
    std::swap(tuning.ThisSpectra, tuning.OtherSpectra);
    CompareChromatograms(m_entry, m_unknown, m_options, &reverse, &m_cells, tuning);
    hit.SetReverseFrom(reverse);
    return EntryOutcome::Compared;
}

} // namespace corvelin
