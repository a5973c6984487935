#include "engine/table/ReportTable.h"
#include "engine/core/Exceptions.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace corvelin {

std::size_t CReportTable::Index(int i, std::size_t size)
{
    if (i < 0 || static_cast<std::size_t>(i) >= size)
        throw CInvalidArgumentException("report table index " + std::to_string(i));
    return static_cast<std::size_t>(i);
}

void CReportTable::Notify(Change change, int first, int last) const
{
    if (m_listener)
        m_listener(change, first, last);
}

int CReportTable::InsertColumn(const std::string& header, int width, ColumnAlign align)
{
    const int column = ColumnCount();
    m_columns.push_back({header, width, width, align});
    m_order.push_back(column);
    for (auto& row : m_rows)
        row.Cells.emplace_back();
    Notify(Change::Columns, column, column);
    return column;
}

void CReportTable::DeleteAllColumns()
{
    m_columns.clear();
    m_order.clear();
    m_rows.clear();
    m_sortKeys = {};
    Notify(Change::Columns, 0, -1);
}

void CReportTable::SetWidth(int column, int width)
{
    m_columns.at(Index(column, m_columns.size())).Width = width;
    Notify(Change::ColumnOrder, column, column);
}

void CReportTable::SetDisplayOrder(const std::vector<int>& order)
{
    if (order.size() != m_columns.size())
        throw CInvalidArgumentException("display order must name every column once");
    std::vector<char> seen(order.size(), 0);
    for (int c : order) {
        if (c < 0 || static_cast<std::size_t>(c) >= order.size() || seen[static_cast<std::size_t>(c)])
            throw CInvalidArgumentException("display order must name every column once");
        seen[static_cast<std::size_t>(c)] = 1;
    }
    m_order = order;
    Notify(Change::ColumnOrder, 0, ColumnCount() - 1);
}

std::vector<int> CReportTable::VisibleColumnsByIndex() const
{
    std::vector<int> out;
    for (int c = 0; c < ColumnCount(); ++c)
        if (m_columns[static_cast<std::size_t>(c)].Width > 0)
            out.push_back(c);
    return out;
}

std::vector<int> CReportTable::VisibleColumnsByDisplay() const
{
    std::vector<int> out;
    for (int c : m_order)
        if (m_columns[static_cast<std::size_t>(c)].Width > 0)
            out.push_back(c);
    return out;
}

int CReportTable::AddRow(std::vector<std::string> cells, std::uintptr_t itemData)
{
    return InsertRow(RowCount(), std::move(cells), itemData);
}

int CReportTable::InsertRow(int at, std::vector<std::string> cells, std::uintptr_t itemData)
{
    if (at < 0 || at > RowCount())
        throw CInvalidArgumentException("report table row " + std::to_string(at));
    cells.resize(m_columns.size());
    m_rows.insert(m_rows.begin() + at, CReportRow{std::move(cells), itemData, false});
    Notify(Change::RowsInserted, at, at);
    return at;
}

void CReportTable::DeleteRow(int row)
{
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(Index(row, m_rows.size())));
    Notify(Change::RowsRemoved, row, row);
}

void CReportTable::DeleteAllRows()
{
    if (m_rows.empty())
        return;
    const int last = RowCount() - 1;
    m_rows.clear();
    Notify(Change::RowsRemoved, 0, last);
}

const std::string& CReportTable::Cell(int row, int column) const
{
    return Row(row).Cells.at(Index(column, m_columns.size()));
}

void CReportTable::SetCell(int row, int column, std::string text)
{
    m_rows.at(Index(row, m_rows.size())).Cells.at(Index(column, m_columns.size())) = std::move(text);
    Notify(Change::CellsChanged, row, row);
}

void CReportTable::SetItemData(int row, std::uintptr_t data)
{
    m_rows.at(Index(row, m_rows.size())).ItemData = data;
}

void CReportTable::SetSelected(int row, bool selected)
{
    m_rows.at(Index(row, m_rows.size())).Selected = selected;
    Notify(Change::CellsChanged, row, row);
}

std::vector<int> CReportTable::SelectedRows() const
{
    std::vector<int> out;
    for (int r = 0; r < RowCount(); ++r)
        if (m_rows[static_cast<std::size_t>(r)].Selected)
            out.push_back(r);
    return out;
}

void CReportTable::SetEmptyText(std::string text)
{
    m_emptyText = std::move(text);
    Notify(Change::EmptyText, 0, 0);
}

std::vector<int> HeapSortPositions(int n, const std::function<int(int, int)>& compare)
{
    std::vector<int> a(static_cast<std::size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i)
        a[static_cast<std::size_t>(i)] = i;
    auto siftDown = [&](std::size_t root, std::size_t end) {
        for (;;) {
            const std::size_t child = 2 * root + 1;
            if (child > end)
                return;
            std::size_t larger = root;
            if (compare(a[larger], a[child]) < 0)
                larger = child;
            if (child + 1 <= end && compare(a[larger], a[child + 1]) < 0)
                larger = child + 1;
            if (larger == root)
                return;
            std::swap(a[root], a[larger]);
            root = larger;
        }
    };
    if (n < 2)
        return a;
    const std::size_t last = static_cast<std::size_t>(n - 1);
    for (std::size_t start = (last - 1) / 2 + 1; start-- > 0;)
        siftDown(start, last);
    for (std::size_t end = last; end > 0; --end) {
        std::swap(a[0], a[end]);
        siftDown(0, end - 1);
    }
    return a;
}

void CReportTable::Sort(const CSortKey& key1, const CSortKey& key2, const CSortKey& key3)
{
    const CSortKey keys[3] = {key1, key2, key3};
    auto compareRows = [&](int x, int y) {
        for (const CSortKey& key : keys) {
            if (key.Column == 0)
                continue;
            const int column = (key.Column < 0 ? -key.Column : key.Column) - 1;
            if (column >= ColumnCount())
                continue;
            const int r =
                CompareCellTexts(m_rows[static_cast<std::size_t>(x)].Cells[static_cast<std::size_t>(column)],
                                 m_rows[static_cast<std::size_t>(y)].Cells[static_cast<std::size_t>(column)], key.Type);
            if (r != 0)
                return key.Column < 0 ? -r : r;
        }
        return 0;
    };
    const std::vector<int> order = HeapSortPositions(RowCount(), compareRows);
    std::vector<CReportRow> sorted;
    sorted.reserve(m_rows.size());
    for (int position : order)
        sorted.push_back(std::move(m_rows[static_cast<std::size_t>(position)]));
    m_rows = std::move(sorted);
    m_sortKeys = {key1, key2, key3};
    Notify(Change::RowsReordered, 0, RowCount() - 1);
}

void CReportTable::AutoSizeColumn(int column, bool withHeaders, const std::function<int(const std::string&)>& measure)
{
    int width = 0;
    for (const auto& row : m_rows)
        width = std::max(width, measure(row.Cells[static_cast<std::size_t>(column)]));
    if (withHeaders) {
        width = std::max({width, measure(m_columns[static_cast<std::size_t>(column)].Header), 10});
    } else if (width <= 40) {
        width = 40;
    }
    if (column == 0)
        width += 3;
    m_columns[static_cast<std::size_t>(column)].Width = width;
}

void CReportTable::AutoSizeColumns(int first, bool withHeaders, const std::function<int(const std::string&)>& measure)
{
    if (first == -1) {
        for (int c = 0; c < ColumnCount(); ++c)
            AutoSizeColumn(c, withHeaders, measure);
        Notify(Change::ColumnOrder, 0, ColumnCount() - 1);
    } else {
        AutoSizeColumn(static_cast<int>(Index(first, m_columns.size())), withHeaders, measure);
        Notify(Change::ColumnOrder, first, first);
    }
}

} // namespace corvelin
