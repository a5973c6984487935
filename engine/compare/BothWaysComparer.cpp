#include "engine/compare/BothWaysComparer.h"

#include <bit>
#include <cstdint>

#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PreparedChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

bool CBothWaysComparer::Supports(const CSearchOptions& options) noexcept
{
    return !(options.Weighting >= 1 && options.Weighting <= 4);
}

void CBothWaysComparer::Direction::Reset(int rows)
{
    const auto n = static_cast<std::size_t>(rows);
    Positives.clear();
    RowLargest.assign(n, 0.0);
    Best.assign(n, -1.0);
    BestIndex.assign(n, -1);
    BestFactors.resize(n);
    Unusual = false;
}

void CBothWaysComparer::Finish(Direction& direction, const CPreparedChromatogram& rowSide,
                               const CPreparedChromatogram& columnSide, const CSearchOptions& options, CLibraryHit& hit,
                               bool transposed)
{
    // The claimed but missing peaks and the peaks that do not take part are skipped rows; the best pairs' factors
    // are added in row order.
    int skipped = rowSide.ClaimedPeaks() - rowSide.PresentPeaks();
    CPairFactors sums{0, 0, 0, 0, 0, 0};
    for (int i = 0; i < rowSide.PresentPeaks(); ++i) {
        if (!rowSide.TakesPart()[static_cast<std::size_t>(i)]) {
            ++skipped;
            continue;
        }
        if (direction.BestIndex[static_cast<std::size_t>(i)] >= 0)
            AddPairFactors(sums, direction.BestFactors[static_cast<std::size_t>(i)]);
    }
    const CResolvedPairs resolved = transposed
                                        ? m_resolution.Transposed(rowSide.InRange())
                                        : m_resolution.Resolve(options, direction.Positives, direction.RowLargest,
                                                               rowSide.InRange(), columnSide.PresentPeaks());
    SummariseComparison(rowSide.ClaimedPeaks() - skipped, resolved, sums, &hit);
}

bool CBothWaysComparer::Compare(const CPreparedChromatogram& self, const CPreparedChromatogram& other,
                                const CSearchOptions& options, CLibraryHit& forward, CLibraryHit& reverse)
{
    const bool ms = options.MSMatching != 0;
    if (ms && ((!self.AllNominal() && !other.KeepsSpectra()) || (!other.AllNominal() && !self.KeepsSpectra())))
        return false;
    const double threshold = MassThresholdOf(options);
    const CPreparedSpectra& selfSpectra = self.Spectra();
    const CPreparedSpectra& otherSpectra = other.Spectra();
    const CPairContext forwardContext{self.Header(), other.Header(), options, self.RangeSum(), other.RangeSum()};
    const CPairContext reverseContext{other.Header(), self.Header(), options, other.RangeSum(), self.RangeSum()};
    // This side's own tables (an unknown prepared once for many entries) spare filling one for every row.
    const bool tables = selfSpectra.HasTables();
    m_spectra.Reset(threshold);
    m_forward.Reset(self.PresentPeaks());
    m_reverse.Reset(other.PresentPeaks());
    bool symmetric = true; // every pair has the same value both ways round
    m_candidates.Build(
        other.TakesPart(), [&](int j) -> const CLibraryChromatogramPeakData& { return other.Peak(j); }, options, true);

    CCandidateIndex::Cursor cursor;
    for (int i = 0; i < self.PresentPeaks(); ++i) {
        if (!self.TakesPart()[static_cast<std::size_t>(i)])
            continue;
        const CLibraryChromatogramPeakData& peak = self.Peak(i);
        if (ms && !tables)
            m_spectra.SetSideA(selfSpectra, i);
        const CPreparedSpectra::Entry& a = selfSpectra.Get(i);
        m_candidates.ForEachCandidate(peak, cursor, [&](int j) {
            const CLibraryChromatogramPeakData& otherPeak = other.Peak(j);
            const CPairFactors retention = RetentionFactors(peak, otherPeak, options);
            double msForward = 0;
            double msReverse = 0;
            if (ms && retention.Value >= MatchConstants::StopThreshold) {
                msForward = tables ? CSpectrumMatcher::MatchByTable(selfSpectra, i, otherSpectra, j)
                                   : m_spectra.Match(otherSpectra, j);
                const CPreparedSpectra::Entry& b = otherSpectra.Get(j);
                // The merge of spectra that are not nominal may pair lines differently the other way round.
                msReverse = a.Nominal && b.Nominal
                                ? msForward
                                : MSMatch(*b.Spectrum, b.SumOfSquares, *a.Spectrum, a.SumOfSquares, threshold);
            }
            const CPairFactors f =
                FinishPairValue(retention, peak, otherPeak, forwardContext, [&] { return msForward; });
            const CPairFactors r =
                FinishPairValue(retention, otherPeak, peak, reverseContext, [&] { return msReverse; });
            symmetric = symmetric && std::bit_cast<std::uint64_t>(f.Value) == std::bit_cast<std::uint64_t>(r.Value);
            m_forward.Record(i, j, f);
            m_reverse.Record(j, i, r);
        });
    }
    m_spectra.SetSideA(-1); // side A is a caller's set, which need not outlive this call
    if (m_forward.Unusual || m_reverse.Unusual)
        return false;
    Finish(m_forward, self, other, options, forward, false);
    // With the same value both ways round for every pair, the reverse cells are the forward ones transposed.
    Finish(m_reverse, other, self, options, reverse, symmetric && m_resolution.Transposable());
    return true;
}

} // namespace corvelin
