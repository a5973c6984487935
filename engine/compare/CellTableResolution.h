#pragma once
// Resolution of a table of pair values into a peak assignment.
//
// With multiple matching every row keeps its largest cell (the first of equal ones); every other cell of the
// row becomes -1, so a row of -2 cells becomes all -1.
//
// One-to-one, the result is that of the greedy rule: repeatedly take the largest non-negative cell of the whole
// table (the first in row-major order among equal ones), clear the other non-negative cells of its row and
// column, and stop after a winner of value 0 or when no non-negative cell is left; then every cleared cell and
// every -2 cell becomes 0, and every other negative cell its absolute value. Afterwards every row and column
// holds at most one positive cell. The work is O(k log k) over the k positive cells plus one pass over the
// table, instead of one pass over the table per assignment.
#include "engine/core/EngineExport.h"
#include "engine/compare/CellTable.h"

namespace corvelin {

class CSearchOptions;

// Resolves the top-left rows x columns block of table. Throws CInvalidArgumentException when the block does not
// fit into the table or a count is negative.
CORVELIN_ENGINE_EXPORT void ResolveCellTable(const CSearchOptions& options, CCellTable& table, int rows, int columns);

// The two resolutions on their own.
CORVELIN_ENGINE_EXPORT void ResolveMultipleMatching(CCellTable& table, int rows, int columns);
CORVELIN_ENGINE_EXPORT void ResolveOneToOne(CCellTable& table, int rows, int columns);

} // namespace corvelin
