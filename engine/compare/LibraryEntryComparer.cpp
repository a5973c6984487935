#include "engine/compare/LibraryEntryComparer.h"

#include <algorithm>
#include <utility>

#include "engine/compare/Compare.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {
// The tables by mass of the unknowns' spectra of one comparer take at most 32 MB; the unknowns past that budget
// are compared without.
constexpr std::size_t kTableWeights = std::size_t(4) << 20;
} // namespace

CLibraryEntryComparer::CLibraryEntryComparer(const CLibraryChromatogram& unknown, const CSearchOptions& options,
                                             int maxPeaks, EntryComparePath path)
    : CLibraryEntryComparer(std::vector<const CLibraryChromatogram*>{&unknown}, options, maxPeaks, path)
{
}

CLibraryEntryComparer::CLibraryEntryComparer(const std::vector<const CLibraryChromatogram*>& unknowns,
                                             const CSearchOptions& options, int maxPeaks, EntryComparePath path)
    : m_unknowns(unknowns), m_options(options), m_maxPeaks(maxPeaks), m_path(path), m_lastEntry(&m_entry),
      m_unknownSpectra(unknowns.size())
{
    if (!CBothWaysComparer::Supports(options))
        m_path = EntryComparePath::General;
    // The unknowns are prepared once for all entries (for the general path too, which the prepared one may take).
    std::size_t tableWeights = 0;
    for (std::size_t u = 0; u < m_unknowns.size(); ++u) {
        m_unknownSpectra[u].PreparePeaks(*m_unknowns[u], MassThresholdOf(m_options));
        if (m_path == EntryComparePath::Prepared) {
            m_preparedUnknowns.push_back(std::make_unique<CPreparedChromatogram>());
            m_preparedUnknowns.back()->Prepare(*m_unknowns[u], m_options);
            if (tableWeights < kTableWeights &&
                m_preparedUnknowns.back()->BuildSpectrumTables(kTableWeights - tableWeights))
                tableWeights += m_preparedUnknowns.back()->Spectra().TableWeights();
            m_allUnknownsNominal = m_allUnknownsNominal && m_preparedUnknowns.back()->AllNominal();
        }
    }
}

bool CLibraryEntryComparer::TooManyPeaks(std::size_t u, const CLibraryChromatogramData& entry) const noexcept
{
    return std::max(m_unknowns[u]->PeakCount, entry.PeakCount) > m_maxPeaks;
}

bool CLibraryEntryComparer::Read(const std::string& path)
{
    m_entryPath = path;
    m_entryLoaded = false;
    m_entryReadable = false;
    m_entrySpectraPrepared = false;
    m_preparedRead = false;
    if (m_path == EntryComparePath::General)
        return LoadGeneral();
    // A nominal unknown needs no spectrum objects of the entry.
    if (!m_preparedEntry.PrepareEntryFile(path, m_options, !m_allUnknownsNominal))
        return false;
    m_preparedRead = true;
    m_lastEntry = &m_preparedEntry.Header();
    return true;
}

bool CLibraryEntryComparer::LoadGeneral()
{
    if (!m_entryLoaded) {
        m_entryLoaded = true;
        m_entry.Clear();
        m_entryReadable = m_entry.LoadEntry(m_entryPath);
    }
    m_lastEntry = &m_entry;
    return m_entryReadable;
}

bool CLibraryEntryComparer::EntryLacksRI() const noexcept
{
    if (!m_options.RIMatching || m_lastEntry->RICalibration.GetCount() >= 2)
        return false;
    if (m_lastEntry == &m_entry) {
        for (const auto& peak : m_entry.Peaks)
            if (peak->RI > 0)
                return false;
        return true;
    }
    for (int i = 0; i < m_preparedEntry.PresentPeaks(); ++i)
        if (m_preparedEntry.Peak(i).RI > 0)
            return false;
    return true;
}

EntryOutcome CLibraryEntryComparer::Compare(const std::string& path, CLibraryHit& hit)
{
    if (!Read(path))
        return EntryOutcome::Unreadable;
    return CompareWith(0, hit);
}

EntryOutcome CLibraryEntryComparer::CompareWith(std::size_t u, CLibraryHit& hit)
{
    if (!m_preparedRead)
        return CompareGeneral(u, hit);
    m_lastEntry = &m_preparedEntry.Header();
    if (TooManyPeaks(u, m_preparedEntry.Header()))
        return EntryOutcome::TooManyPeaks;
    CLibraryHit reverse;
    if (!m_bothWays.Compare(*m_preparedUnknowns[u], m_preparedEntry, m_options, hit, reverse)) {
        return CompareGeneral(u, hit);
    }
    hit.SetReverseFrom(reverse);
    return EntryOutcome::Compared;
}

EntryOutcome CLibraryEntryComparer::CompareGeneral(std::size_t u, CLibraryHit& hit)
{
    if (!LoadGeneral())
        return EntryOutcome::Unreadable;
    const CLibraryChromatogram& unknown = *m_unknowns[u];
    if (TooManyPeaks(u, m_entry))
        return EntryOutcome::TooManyPeaks;
    const std::size_t size = static_cast<std::size_t>(std::max({unknown.PeakCount, m_entry.PeakCount, 0}));
    if (m_cells.Rows() < size)
        m_cells.Resize(size, size);
    // The table is scratch memory of the comparisons; it needs no reset.
    if (!m_entrySpectraPrepared) { // once per entry, when a first unknown compares it
        m_entrySpectra.PreparePeaks(m_entry, MassThresholdOf(m_options));
        m_entrySpectraPrepared = true;
    }
    CLibraryHit reverse;
    CCompareTuning tuning;
    tuning.TableIsScratch = true; // only the hits are reported
    tuning.ThisSpectra = &m_unknownSpectra[u];
    tuning.OtherSpectra = &m_entrySpectra;
    CompareChromatograms(unknown, m_entry, m_options, &hit, &m_cells, tuning);
    std::swap(tuning.ThisSpectra, tuning.OtherSpectra);
    CompareChromatograms(m_entry, unknown, m_options, &reverse, &m_cells, tuning);
    hit.SetReverseFrom(reverse);
    return EntryOutcome::Compared;
}

} // namespace corvelin
