#pragma once
// The unweighted resolution of a comparison from its positive pair values alone, and the hit it gives. In a
// resolved unweighted table every cell that is not a winner (one-to-one) or not its row's kept largest value
// (multiple matching) is 0, -0 or -1; the zeros leave the row-major sum unchanged and -1 is not added, so the
// total is the sum of the winners in row order. This holds only when no pair value is negative or not a number.
#include <bit>
#include <cstdint>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/compare/PairValue.h"

namespace corvelin {

class CLibraryHit;
class CSearchOptions;

// A positive pair value with its place, keyed for the greedy one-to-one order: the bits of a positive double
// (infinity included) ascend with its value, so Order ascending is value descending, and Position ascending is
// row-major order; equal values have equal bits.
struct CORVELIN_ENGINE_EXPORT CPositiveCell {
    std::uint64_t Order = 0;
    std::uint64_t Position = 0;

    CPositiveCell() = default;
    CPositiveCell(double value, int row, int column)
        : Order(~std::bit_cast<std::uint64_t>(value)),
          Position(static_cast<std::uint64_t>(row) << 32 | static_cast<std::uint32_t>(column))
    {
    }
    double Value() const noexcept { return std::bit_cast<double>(~Order); }
    int Row() const noexcept { return static_cast<int>(Position >> 32); }
    int Column() const noexcept { return static_cast<int>(Position & 0xFFFFFFFFu); }
};

// The assigned pairs and the total of their values.
struct CORVELIN_ENGINE_EXPORT CResolvedPairs {
    int Matched = 0;
    double Total = 0;
};

// Resolves the positive cells (sorted here) of rows inRange.size() and columns columnTaken.size(): multiple
// matching keeps each row's largest value (rowLargest), one-to-one takes the greedy winners (value descending,
// ties in row-major order). Only the rows in the RT search range count. winner and columnTaken are scratch
// memory (columnTaken all 0 on entry).
CORVELIN_ENGINE_EXPORT CResolvedPairs ResolvePositiveCells(const CSearchOptions& options,
                                                           std::vector<CPositiveCell>& positives,
                                                           const std::vector<double>& rowLargest,
                                                           const std::vector<char>& inRange,
                                                           std::vector<double>& winner, std::vector<char>& columnTaken);

// The same resolution, for few or many cells per row, without sorting the cells. With few (a retention window
// leaves a handful of cells per row), a cell that is the best of its row and of its column among the free rows
// and columns is a greedy winner; such cells are found by climbing from a row's best to its column's best and
// so on. With many (a comparison without retention window has a cell for almost every pair), the greedy rule
// picks the best cell whose row and column are both free, which is the best of the row bests. Each row keeps its
// best cell among the free columns in a heap; a row whose best column was taken meanwhile looks for its next
// best and goes back. Rows are scanned a few times instead of all cells sorted. Keeps its scratch memory from
// call to call.
class CORVELIN_ENGINE_EXPORT CRowBestResolution {
public:
    CResolvedPairs Resolve(const CSearchOptions& options, std::vector<CPositiveCell>& positives,
                           const std::vector<double>& rowLargest, const std::vector<char>& inRange, int columns);
    // Whether the last Resolve also resolved the transposed cells (row and column of every cell swapped, the
    // same values): one-to-one. The greedy winners depend only on how the order ranks cells of a row or of a
    // column, and ties broken row by row rank those as ties broken column by column do. Transposed then gives
    // that resolution, columnInRange telling which columns count.
    bool Transposable() const noexcept { return m_transposable; }
    CResolvedPairs Transposed(const std::vector<char>& columnInRange) const;

private:
    // Groups the cells by row and clears the winners and the taken columns.
    void GroupCells(const std::vector<CPositiveCell>& positives, std::size_t rows, int columns);
    // The greedy winners of few cells per row, without sorting them.
    CResolvedPairs ResolveSparse(std::vector<CPositiveCell>& positives, const std::vector<char>& inRange, int columns);
    // The best cell of a row among the free columns; false when none is left.
    bool RowBest(int row, CPositiveCell& best) const;

    const CPositiveCell* m_cells = nullptr; // the cells grouped by row: the caller's or m_byRow
    std::vector<CPositiveCell> m_byRow;
    std::vector<std::uint32_t> m_rowStart;
    std::vector<CPositiveCell> m_byColumn;
    std::vector<std::uint32_t> m_columnStart;
    std::vector<std::uint32_t> m_next;
    std::vector<CPositiveCell> m_heap;
    std::vector<double> m_winner;
    std::vector<double> m_columnWinner;
    std::vector<char> m_columnTaken;
    bool m_transposable = false;
};

// The overall match over the considered peaks; fills the hit's forward block (when hit is not null) with the
// counts and the factor averages of the best pairs (sums over them).
CORVELIN_ENGINE_EXPORT double SummariseComparison(int considered, const CResolvedPairs& resolved,
                                                  const CPairFactors& sums, CLibraryHit* hit);

// Adds the factors of one best pair to the sums.
CORVELIN_ENGINE_EXPORT void AddPairFactors(CPairFactors& sums, const CPairFactors& f) noexcept;

} // namespace corvelin
