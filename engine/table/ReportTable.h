#pragma once
// The report table behind every result list of the system: column headers with widths (0 = hidden) and a
// display order, rows of cell texts each with item data and a selected state, the empty text shown while
// there are no rows, and the typed sort on up to three keys. The desktop list control is a view over one;
// the CSV writers, the printed report and the tests read it directly. Not thread-safe: one owner at a time.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/table/CellCompare.h"

namespace corvelin {

enum class ColumnAlign { Left, Right, Center };

struct CORVELIN_ENGINE_EXPORT CReportColumn {
    std::string Header;
    int Width = 0;         // pixels; 0 = hidden
    int InsertedWidth = 0; // the width the owner inserted it with (shown on a first start)
    ColumnAlign Align = ColumnAlign::Left;
    // The column holds file paths: its "/" are folder separators and stay as they are in CSV files (the
    // " of " rule is for counts such as 9/12).
    bool HoldsPaths = false;
};

struct CORVELIN_ENGINE_EXPORT CReportRow {
    std::vector<std::string> Cells; // always one per column
    std::uintptr_t ItemData = 0;
    bool Selected = false;
};

// One sort key: Column = ±(column index + 1), the sign the direction (negative = descending), 0 = no key.
struct CORVELIN_ENGINE_EXPORT CSortKey {
    int Column = 0;
    int Type = kCompareEqual;
};

class CORVELIN_ENGINE_EXPORT CReportTable {
public:
    // What changed, for a view that mirrors the table (first/last are row or column indexes, inclusive).
    enum class Change { Columns, RowsInserted, RowsRemoved, CellsChanged, RowsReordered, ColumnOrder, EmptyText };
    using ChangeListener = std::function<void(Change change, int first, int last)>;

    // Columns. Appending a column adds an empty cell to every row and puts the column last in display order.
    int InsertColumn(const std::string& header, int width, ColumnAlign align = ColumnAlign::Left);
    // Removes every column and every row.
    void DeleteAllColumns();
    int ColumnCount() const noexcept { return static_cast<int>(m_columns.size()); }
    // @exception CInvalidArgumentException for a bad column index (also for the setters below).
    const CReportColumn& Column(int column) const { return m_columns.at(Index(column, m_columns.size())); }
    const std::string& Header(int column) const { return Column(column).Header; }
    int Width(int column) const { return Column(column).Width; }
    void SetWidth(int column, int width);
    void SetHoldsPaths(int column, bool holdsPaths)
    {
        m_columns.at(Index(column, m_columns.size())).HoldsPaths = holdsPaths;
    }
    bool IsVisible(int column) const { return Width(column) > 0; }

    // Column indexes in display order (left to right on screen); a permutation of 0 ... ColumnCount() - 1.
    const std::vector<int>& DisplayOrder() const noexcept { return m_order; }
    // @exception CInvalidArgumentException when order is not a permutation of the column indexes.
    void SetDisplayOrder(const std::vector<int>& order);
    // Visible column indexes in column index order, and in display order.
    std::vector<int> VisibleColumnsByIndex() const;
    std::vector<int> VisibleColumnsByDisplay() const;

    // Rows. Cells beyond the column count are dropped, missing ones are empty. Returns the new row's index.
    int AddRow(std::vector<std::string> cells, std::uintptr_t itemData = 0);
    // @exception CInvalidArgumentException when at > RowCount().
    int InsertRow(int at, std::vector<std::string> cells, std::uintptr_t itemData = 0);
    void DeleteRow(int row);
    void DeleteAllRows();
    int RowCount() const noexcept { return static_cast<int>(m_rows.size()); }
    const CReportRow& Row(int row) const { return m_rows.at(Index(row, m_rows.size())); }
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, std::string text);
    std::uintptr_t ItemData(int row) const { return Row(row).ItemData; }
    void SetItemData(int row, std::uintptr_t data);
    bool IsSelected(int row) const { return Row(row).Selected; }
    void SetSelected(int row, bool selected);
    // Indexes of the selected rows in row order.
    std::vector<int> SelectedRows() const;

    // The text shown while the table has no rows.
    const std::string& EmptyText() const noexcept { return m_emptyText; }
    void SetEmptyText(std::string text);

    // Sorts the rows by up to three keys: for each non-zero key in turn the cells of its column are compared
    // by its type and the first non-zero result decides; each key compares in its own direction. Rows are
    // ordered by a heap sort (rows that compare equal do not keep their order) and moved whole (cells, item
    // data, selection). Keys naming a column that does not exist are skipped.
    // @exception CUserException from a date-time key whose text cannot be read; the rows are then unchanged.
    void Sort(const CSortKey& key1, const CSortKey& key2 = {}, const CSortKey& key3 = {});
    // The keys of the last sort (all 0 before the first), for the header's sort marks.
    const CSortKey& SortKey(int k) const { return m_sortKeys.at(static_cast<std::size_t>(k)); }

    // Sizes columns to their content: first = column index, or -1 for all. measure gives a text's width in
    // pixels. Content only: the widest cell, at least 40 when it comes to 40 or less. With headers: the larger
    // of widest cell and header, at least 10. Column 0 gets 3 pixels more in both cases.
    void AutoSizeColumns(int first, bool withHeaders, const std::function<int(const std::string&)>& measure);

    void SetChangeListener(ChangeListener listener) { m_listener = std::move(listener); }

private:
    static std::size_t Index(int i, std::size_t size);
    void Notify(Change change, int first, int last) const;
    void AutoSizeColumn(int column, bool withHeaders, const std::function<int(const std::string&)>& measure);

    std::vector<CReportColumn> m_columns;
    std::vector<int> m_order;
    std::vector<CReportRow> m_rows;
    std::string m_emptyText;
    std::array<CSortKey, 3> m_sortKeys{};
    ChangeListener m_listener;
};

// The heap sort of the report table on positions 0 ... n - 1: afterwards, the returned permutation p lists
// the original positions in ascending order by less-than-or-equal of compare(p[i], p[j]) (<0, 0, >0).
// Deterministic, not stable. compare may throw; nothing is changed then.
CORVELIN_ENGINE_EXPORT std::vector<int> HeapSortPositions(int n, const std::function<int(int, int)>& compare);

} // namespace corvelin
