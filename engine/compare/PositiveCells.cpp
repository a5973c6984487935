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

namespace {

// The cells grouped by one of their indices, key(c) < keys: start[k] ... start[k + 1] are the cells of key k in
// the returned array, which is cells itself when they come grouped by ascending key already, else grouped (a
// counting sort into scratch, with next as scratch too).
template <typename Key>
const CPositiveCell* GroupBy(const std::vector<CPositiveCell>& cells, std::size_t keys, Key key,
                             std::vector<std::uint32_t>& start, std::vector<std::uint32_t>& next,
                             std::vector<CPositiveCell>& scratch)
{
    start.assign(keys + 1, 0);
    bool grouped = true;
    std::size_t previous = 0;
    for (const CPositiveCell& c : cells) {
        const auto k = static_cast<std::size_t>(key(c));
        ++start[k + 1];
        grouped = grouped && previous <= k;
        previous = k;
    }
    for (std::size_t k = 0; k < keys; ++k)
        start[k + 1] += start[k];
    if (grouped)
        return cells.data();
    scratch.resize(cells.size());
    next.assign(start.begin(), start.end() - 1);
    for (const CPositiveCell& c : cells)
        scratch[next[static_cast<std::size_t>(key(c))]++] = c;
    return scratch.data();
}

} // namespace

CResolvedPairs CRowBestResolution::ResolveSparse(std::vector<CPositiveCell>& positives,
                                                 const std::vector<char>& inRange, int columns)
{
    const std::size_t rows = inRange.size();
    const auto cols = static_cast<std::size_t>(columns);
    const CPositiveCell* byRow = GroupBy(
        positives, rows, [](const CPositiveCell& c) { return c.Row(); }, m_rowStart, m_next, m_byRow);
    const CPositiveCell* byColumn = GroupBy(
        positives, cols, [](const CPositiveCell& c) { return c.Column(); }, m_columnStart, m_next, m_byColumn);
    m_winner.assign(rows, 0.0);
    m_columnWinner.assign(cols, 0.0);
    double* winner = m_winner.data();
    double* columnWinner = m_columnWinner.data();
    const std::uint32_t* rowStart = m_rowStart.data();
    const std::uint32_t* columnStart = m_columnStart.data();
    // The best cell of a group (a row's cells, a column's) whose other side is still free (has no winner).
    const auto bestFree = [](const CPositiveCell* cells, std::uint32_t from, std::uint32_t to, const double* taken,
                             auto otherSide, CPositiveCell& best) {
        bool found = false;
        for (std::uint32_t k = from; k < to; ++k) {
            const CPositiveCell& c = cells[k];
            if (taken[otherSide(c)] > 0)
                continue;
            if (found && !Before(c, best))
                continue;
            best = c;
            found = true;
        }
        return found;
    };
    const auto rowBest = [&](std::size_t row, CPositiveCell& best) {
        return bestFree(
            byRow, rowStart[row], rowStart[row + 1], columnWinner, [](const CPositiveCell& c) { return c.Column(); },
            best);
    };
    const auto columnBest = [&](std::size_t column, CPositiveCell& best) {
        return bestFree(
            byColumn, columnStart[column], columnStart[column + 1], winner,
            [](const CPositiveCell& c) { return c.Row(); }, best);
    };

    // The greedy order is a strict total order (positions differ), so the greedy winners are exactly the cells
    // that are, among the cells of free rows and columns, the best of their row and of their column, taken one
    // after the other in any order. From a row's best cell, the best of its column, then the best of that
    // cell's row and so on climb the order strictly until such a cell is reached.
    for (std::size_t r = 0; r < rows; ++r) {
        CPositiveCell e;
        while (!(winner[r] > 0) && rowBest(r, e)) {
            for (;;) {
                CPositiveCell f;
                columnBest(static_cast<std::size_t>(e.Column()), f); // e's row and column are free: found
                if (f.Position == e.Position)
                    break;
                rowBest(static_cast<std::size_t>(f.Row()), e); // likewise: found (f itself at least)
                if (f.Position == e.Position)
                    break;
            }
            winner[e.Row()] = e.Value();
            columnWinner[e.Column()] = e.Value();
        }
    }
    m_transposable = true;
    return WinnerTotals(m_winner, inRange);
}

CResolvedPairs CRowBestResolution::Resolve(const CSearchOptions& options, std::vector<CPositiveCell>& positives,
                                           const std::vector<double>& rowLargest, const std::vector<char>& inRange,
                                           int columns)
{
    m_transposable = false;
    if (options.MultipleMatching)
        return RowLargestTotals(rowLargest, inRange);
    const std::size_t rows = inRange.size();
    if (positives.size() <= kCellsPerRowToSort * rows)
        return ResolveSparse(positives, inRange, columns);
    GroupCells(positives, rows, columns);
    m_columnWinner.assign(static_cast<std::size_t>(columns), 0.0);
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
            m_columnWinner[column] = top.Value();
            m_columnTaken[column] = 1;
            m_heap.pop_back();
        } else if (RowBest(top.Row(), top)) {
            std::push_heap(m_heap.begin(), m_heap.end(), after);
        } else {
            m_heap.pop_back();
        }
    }
    m_transposable = true;
    return WinnerTotals(m_winner, inRange);
}

CResolvedPairs CRowBestResolution::Transposed(const std::vector<char>& columnInRange) const
{
    return WinnerTotals(m_columnWinner, columnInRange);
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
