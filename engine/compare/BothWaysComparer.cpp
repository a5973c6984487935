#include "engine/compare/BothWaysComparer.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PreparedChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {
// The pairs gathered before their MS factors are taken: enough for four at a time, few enough to stay in the
// cache.
constexpr std::size_t kPendingPairs = 256;
} // namespace

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

    // Finishes a pair from its retention stage and its MS factors both ways, recording it in both directions.
    const auto finish = [&](int i, int j, const CPairFactors& retention, double msForward, double msReverse) {
        const CLibraryChromatogramPeakData& peak = self.Peak(i);
        const CLibraryChromatogramPeakData& otherPeak = other.Peak(j);
        const CPairFactors f = FinishPairValue(retention, peak, otherPeak, forwardContext, [&] { return msForward; });
        const CPairFactors r = FinishPairValue(retention, otherPeak, peak, reverseContext, [&] { return msReverse; });
        symmetric = symmetric && std::bit_cast<std::uint64_t>(f.Value) == std::bit_cast<std::uint64_t>(r.Value);
        m_forward.Record(i, j, f);
        m_reverse.Record(j, i, r);
    };
    // The merge of spectra that are not nominal may pair lines differently the other way round.
    const auto reverseOf = [&](int i, int j, double msForward) {
        const CPreparedSpectra::Entry& a = selfSpectra.Get(i);
        const CPreparedSpectra::Entry& b = otherSpectra.Get(j);
        return a.Nominal && b.Nominal ? msForward
                                      : MSMatch(*b.Spectrum, b.SumOfSquares, *a.Spectrum, a.SumOfSquares, threshold);
    };
    // With tables, the pairs of some rows are gathered and their MS factors taken four at a time before they
    // are finished in their order; without, each row's spectrum is side A of the matches of its pairs.
    const auto matchPending = [&] {
        m_msPairs.clear();
        for (std::size_t k = 0; k < m_pending.size(); ++k)
            if (ms && m_pending[k].Retention.Value >= MatchConstants::StopThreshold)
                m_msPairs.push_back(static_cast<std::uint32_t>(k));
        for (std::size_t g = 0; g < m_msPairs.size(); g += 4) {
            const int pairs = static_cast<int>(std::min<std::size_t>(4, m_msPairs.size() - g));
            int rows[4], columns[4];
            double match[4];
            for (int p = 0; p < pairs; ++p) {
                rows[p] = m_pending[m_msPairs[g + p]].Row;
                columns[p] = m_pending[m_msPairs[g + p]].Column;
            }
            CSpectrumMatcher::MatchByTable(selfSpectra, rows, otherSpectra, columns, pairs, match);
            for (int p = 0; p < pairs; ++p) {
                PendingPair& pair = m_pending[m_msPairs[g + p]];
                pair.MSForward = match[p];
                pair.MSReverse = reverseOf(pair.Row, pair.Column, match[p]);
            }
        }
        for (const PendingPair& pair : m_pending)
            finish(pair.Row, pair.Column, pair.Retention, pair.MSForward, pair.MSReverse);
        m_pending.clear();
    };
    m_pending.clear();
    CCandidateIndex::Cursor cursor;
    for (int i = 0; i < self.PresentPeaks(); ++i) {
        if (!self.TakesPart()[static_cast<std::size_t>(i)])
            continue;
        const CLibraryChromatogramPeakData& peak = self.Peak(i);
        if (tables) {
            m_candidates.ForEachCandidate(peak, cursor, [&](int j) {
                m_pending.push_back({i, j, RetentionFactors(peak, other.Peak(j), options), 0, 0});
            });
            if (m_pending.size() >= kPendingPairs)
                matchPending();
            continue;
        }
        if (ms)
            m_spectra.SetSideA(selfSpectra, i);
        m_candidates.ForEachCandidate(peak, cursor, [&](int j) {
            const CPairFactors retention = RetentionFactors(peak, other.Peak(j), options);
            double msForward = 0;
            double msReverse = 0;
            if (ms && retention.Value >= MatchConstants::StopThreshold) {
                msForward = m_spectra.Match(otherSpectra, j);
                msReverse = reverseOf(i, j, msForward);
            }
            finish(i, j, retention, msForward, msReverse);
        });
    }
    matchPending();
    m_spectra.SetSideA(-1); // side A is a caller's set, which need not outlive this call
    if (m_forward.Unusual || m_reverse.Unusual)
        return false;
    Finish(m_forward, self, other, options, forward, false);
    // With the same value both ways round for every pair, the reverse cells are the forward ones transposed.
    Finish(m_reverse, other, self, options, reverse, symmetric && m_resolution.Transposable());
    return true;
}

} // namespace corvelin
