#include "engine/compare/CellTableResolution.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {

void CheckBlock(const CCellTable& table, int rows, int columns)
{
    if (rows < 0 || columns < 0 || static_cast<std::size_t>(rows) > table.Rows() ||
        static_cast<std::size_t>(columns) > table.Columns())
        throw CInvalidArgumentException("cell table smaller than the peak counts");
}

struct PositiveCell {
    double Value;
    std::uint32_t Row;
    std::uint32_t Column;
};

} // namespace

void ResolveCellTable(const CSearchOptions& options, CCellTable& table, int rows, int columns)
{
    if (options.MultipleMatching)
        ResolveMultipleMatching(table, rows, columns);
    else
        ResolveOneToOne(table, rows, columns);
}

void ResolveMultipleMatching(CCellTable& table, int rows, int columns)
{
    CheckBlock(table, rows, columns);
    for (int i = 0; i < rows; ++i) {
        double* row = table.Row(i);
        double largest = -1;
        for (int j = 0; j < columns; ++j)
            if (row[j] > largest)
                largest = row[j];
        bool kept = false;
        for (int j = 0; j < columns; ++j) {
            if (row[j] < largest) {
                row[j] = -1;
            } else if (row[j] == largest) {
                if (kept)
                    row[j] = -1;
                kept = true;
            }
        }
    }
}

void ResolveOneToOne(CCellTable& table, int rows, int columns)
{
    CheckBlock(table, rows, columns);
    // The positive cells in the order the greedy rule takes them: value descending, ties in row-major order.
    // Scratch memory is kept per thread, so repeated comparisons do not allocate.
    // (bound once: every use of a thread_local in a shared library costs a lookup).
    thread_local std::vector<PositiveCell> perThreadCandidates;
    thread_local std::vector<int> perThreadRowWinner;
    thread_local std::vector<char> perThreadColumnTaken;
    std::vector<PositiveCell>& candidates = perThreadCandidates;
    std::vector<int>& rowWinner = perThreadRowWinner;
    std::vector<char>& columnTaken = perThreadColumnTaken;
    candidates.clear();
    for (int i = 0; i < rows; ++i) {
        const double* row = table.Row(i);
        for (int j = 0; j < columns; ++j)
            if (row[j] > 0)
                candidates.push_back({row[j], static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j)});
    }
    std::sort(candidates.begin(), candidates.end(), [](const PositiveCell& a, const PositiveCell& b) {
        if (a.Value != b.Value)
            return a.Value > b.Value;
        if (a.Row != b.Row)
            return a.Row < b.Row;
        return a.Column < b.Column;
    });

    // A winner's row and column are taken: their other non-negative cells are cleared.
    rowWinner.assign(rows, -1);
    columnTaken.assign(columns, 0);
    for (const PositiveCell& c : candidates) {
        if (rowWinner[c.Row] >= 0 || columnTaken[c.Column])
            continue;
        rowWinner[c.Row] = static_cast<int>(c.Column);
        columnTaken[c.Column] = 1;
    }

    // When no positive cell is left, the greedy rule still takes one winner of value 0: the first zero cell
    // (of either sign) in a free row and column. It is marked taken by negation, which flips the sign of the
    // zero, and its row and column are cleared like any other.
    int zeroRow = -1;
    int zeroColumn = -1;
    for (int i = 0; i < rows && zeroRow < 0; ++i) {
        if (rowWinner[i] >= 0)
            continue;
        const double* row = table.Row(i);
        for (int j = 0; j < columns; ++j) {
            if (!columnTaken[j] && row[j] == 0) {
                zeroRow = i;
                zeroColumn = j;
                break;
            }
        }
    }
    if (zeroRow >= 0) {
        rowWinner[zeroRow] = zeroColumn;
        columnTaken[zeroColumn] = 1;
    }

    for (int i = 0; i < rows; ++i) {
        double* row = table.Row(i);
        const int winner = rowWinner[i];
        const bool rowTaken = winner >= 0;
        for (int j = 0; j < columns; ++j) {
            double& cell = row[j];
            if (j == winner) {
                if (i == zeroRow)
                    cell = -cell;
            } else if (cell == -2 || ((rowTaken || columnTaken[j]) && cell >= 0)) {
                cell = 0;
            } else if (cell < 0) {
                cell = -cell;
            }
        }
    }
}

} // namespace corvelin
