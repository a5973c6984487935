#include "engine/compare/PositiveCells.h"

#include <algorithm>

#include "engine/compare/LibraryHit.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {

// The greedy order: value descending, ties in row-major order (a function object, so that sorts inline it).
constexpr auto Before = [](const CPositiveCell& a, const CPositiveCell& b) noexcept {
    return a.Order < b.Order || (a.Order == b.Order && a.Position < b.Position);
};

// Multiple matching: each row keeps its largest value (the first of equal ones, which has the same value).
CResolvedPairs RowLargestTotals(const std::vector<double>& rowLargest, const std::vector<char>& inRange)
{
    CResolvedPairs resolved;
    for (std::size_t i = 0; i < inRange.size(); ++i) {
        if (!inRange[i])
            continue;
        resolved.Matched += rowLargest[i] > 0 ? 1 : 0;
        resolved.Total += rowLargest[i];
    }
    return resolved;
}

// One-to-one: the winners of the rows in range, in row order.
CResolvedPairs WinnerTotals(const std::vector<double>& winner, const std::vector<char>& inRange)
{
    CResolvedPairs resolved;
    for (std::size_t i = 0; i < inRange.size(); ++i) {
        if (!inRange[i] || !(winner[i] > 0))
            continue;
        ++resolved.Matched;
        resolved.Total += winner[i];
    }
    return resolved;
}

} // namespace

CResolvedPairs ResolvePositiveCells(const CSearchOptions& options, std::vector<CPositiveCell>& positives,
                                    const std::vector<double>& rowLargest, const std::vector<char>& inRange,
                                    std::vector<double>& winner, std::vector<char>& columnTaken)
{
    if (options.MultipleMatching)
        return RowLargestTotals(rowLargest, inRange);
    std::sort(positives.begin(), positives.end(), Before);
    winner.assign(inRange.size(), 0.0);
    for (const CPositiveCell& c : positives) {
        const int row = c.Row();
        const int column = c.Column();
        if (winner[row] > 0 || columnTaken[column])
            continue;
        winner[row] = c.Value();
        columnTaken[column] = 1;
    }
    return WinnerTotals(winner, inRange);
}

namespace {
// Up to this many cells per row on average, the sparse resolution is the faster way.
constexpr std::size_t kCellsPerRowToSort = 8;
} // namespace

bool CRowBestResolution::RowBest(int row, CPositiveCell& best) const
{
    bool found = false;
    for (std::uint32_t k = m_rowStart[static_cast<std::size_t>(row)]; k < m_rowStart[static_cast<std::size_t>(row) + 1];
         ++k) {
        const CPositiveCell& c = m_cells[k];
        if (m_columnTaken[static_cast<std::size_t>(c.Column())] || (found && !Before(c, best)))
            continue;
        best = c;
        found = true;
    }
    return found;
}

void CRowBestResolution::GroupCells(const std::vector<CPositiveCell>& positives, std::size_t rows, int columns)
{
    // The cells grouped by row (a counting sort, unless they come grouped by ascending row already).
    m_rowStart.assign(rows + 1, 0);
    bool grouped = true;
    for (std::size_t k = 0; k < positives.size(); ++k) {
        ++m_rowStart[static_cast<std::size_t>(positives[k].Row()) + 1];
        grouped = grouped && (k == 0 || positives[k - 1].Row() <= positives[k].Row());
    }
    for (std::size_t i = 0; i < rows; ++i)
        m_rowStart[i + 1] += m_rowStart[i];
    m_cells = positives.data();
    if (!grouped) {
        m_byRow.resize(positives.size());
        m_next.assign(m_rowStart.begin(), m_rowStart.end() - 1);
        for (const CPositiveCell& c : positives)
            m_byRow[m_next[static_cast<std::size_t>(c.Row())]++] = c;
        m_cells = m_byRow.data();
    }
    m_winner.assign(rows, 0.0);
    m_columnTaken.assign(static_cast<std::size_t>(columns), 0);
}

bool CRowBestResolution::ColumnBest(int column, CPositiveCell& best) const
{
    bool found = false;
    const auto c0 = static_cast<std::size_t>(column);
    for (std::uint32_t k = m_columnStart[c0]; k < m_columnStart[c0 + 1]; ++k) {
        const CPositiveCell& c = m_byColumn[k];
        if (m_winner[static_cast<std::size_t>(c.Row())] > 0 || (found && !Before(c, best)))
            continue;
        best = c;
        found = true;
    }
    return found;
}

CResolvedPairs CRowBestResolution::ResolveSparse(std::vector<CPositiveCell>& positives,
                                                 const std::vector<char>& inRange, int columns)
{
    const std::size_t rows = inRange.size();
    GroupCells(positives, rows, columns);
    // The cells grouped by column as well.
    const auto cols = static_cast<std::size_t>(columns);
    m_columnStart.assign(cols + 1, 0);
    for (const CPositiveCell& c : positives)
        ++m_columnStart[static_cast<std::size_t>(c.Column()) + 1];
    for (std::size_t j = 0; j < cols; ++j)
        m_columnStart[j + 1] += m_columnStart[j];
    m_byColumn.resize(positives.size());
    m_next.assign(m_columnStart.begin(), m_columnStart.end() - 1);
    for (const CPositiveCell& c : positives)
        m_byColumn[m_next[static_cast<std::size_t>(c.Column())]++] = c;

    // The greedy order is a strict total order (positions differ), so the greedy winners are exactly the cells
    // that are, among the cells of free rows and columns, the best of their row and of their column, taken one
    // after the other in any order. From a row's best cell, the best of its column, then the best of that
    // cell's row and so on climb the order strictly until such a cell is reached.
    for (std::size_t r = 0; r < rows; ++r) {
        CPositiveCell e;
        while (!(m_winner[r] > 0) && RowBest(static_cast<int>(r), e)) {
            for (;;) {
                CPositiveCell f;
                ColumnBest(e.Column(), f); // e's row and column are free: found
                if (f.Position == e.Position)
                    break;
                RowBest(f.Row(), e); // likewise: found (f itself at least)
                if (f.Position == e.Position)
                    break;
            }
            m_winner[static_cast<std::size_t>(e.Row())] = e.Value();
            m_columnTaken[static_cast<std::size_t>(e.Column())] = 1;
        }
    }
    return WinnerTotals(m_winner, inRange);
}

CResolvedPairs CRowBestResolution::Resolve(const CSearchOptions& options, std::vector<CPositiveCell>& positives,
                                           const std::vector<double>& rowLargest, const std::vector<char>& inRange,
                                           int columns)
{
    if (options.MultipleMatching)
        return RowLargestTotals(rowLargest, inRange);
    const std::size_t rows = inRange.size();
    if (positives.size() <= kCellsPerRowToSort * rows)
        return ResolveSparse(positives, inRange, columns);
    GroupCells(positives, rows, columns);
    // A heap of the row bests, the best on top (std heaps keep the largest by their order: Before reversed).
    const auto after = [](const CPositiveCell& a, const CPositiveCell& b) { return Before(b, a); };
    m_heap.clear();
    for (std::size_t i = 0; i < rows; ++i) {
        CPositiveCell best(0, 0, 0);
        if (RowBest(static_cast<int>(i), best))
            m_heap.push_back(best);
    }
    std::make_heap(m_heap.begin(), m_heap.end(), after);
    while (!m_heap.empty()) {
        std::pop_heap(m_heap.begin(), m_heap.end(), after);
        CPositiveCell& top = m_heap.back();
        const auto column = static_cast<std::size_t>(top.Column());
        if (!m_columnTaken[column]) {
            // Every other row's best among the free columns is at most its entry in the heap: this cell wins.
            m_winner[static_cast<std::size_t>(top.Row())] = top.Value();
            m_columnTaken[column] = 1;
            m_heap.pop_back();
        } else if (RowBest(top.Row(), top)) {
            std::push_heap(m_heap.begin(), m_heap.end(), after);
        } else {
            m_heap.pop_back();
        }
    }
    return WinnerTotals(m_winner, inRange);
}

double SummariseComparison(int considered, const CResolvedPairs& resolved, const CPairFactors& sums, CLibraryHit* hit)
{
    const double overall = considered >= 1 ? resolved.Total / considered : 0.0;
    if (hit) {
        hit->ConsideredPeaks = considered;
        hit->MatchedPeaks = resolved.Matched;
        hit->Overall = overall;
        const double n = considered;
        hit->MSAverage = considered >= 1 ? sums.MS / n : 0.0;
        hit->RTAverage = considered >= 1 ? sums.RT / n : 0.0;
        hit->RIAverage = considered >= 1 ? sums.RI / n : 0.0;
        hit->AreaAverage = considered >= 1 ? sums.Area / n : 0.0;
        hit->HeightAverage = considered >= 1 ? sums.Height / n : 0.0;
    }
    return overall;
}

void AddPairFactors(CPairFactors& sums, const CPairFactors& f) noexcept
{
    sums.Value += f.Value;
    sums.MS += f.MS;
    sums.RT += f.RT;
    sums.RI += f.RI;
    sums.Area += f.Area;
    sums.Height += f.Height;
}

} // namespace corvelin
