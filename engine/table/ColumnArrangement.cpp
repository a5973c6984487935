#include "engine/table/ColumnArrangement.h"

#include <algorithm>

#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

namespace {

constexpr const char* kUsedColumnCount = "UsedColumnCount";

int ReadInt(const std::string& section, const std::string& name, int defaultValue)
{
    return GetSettingInt(SettingsScope::CurrentUser, section.c_str(), nullptr, name.c_str(), defaultValue);
}

void WriteInt(const std::string& section, const std::string& name, int value)
{
    WriteSettingInt(SettingsScope::CurrentUser, section.c_str(), nullptr, name.c_str(), value);
}

// Shows the given columns with their widths first in display order, the others hidden after them in index
// order.
void ArrangeColumns(CReportTable& table, const std::vector<std::pair<int, int>>& shown)
{
    const int m = table.ColumnCount();
    std::vector<char> placed(static_cast<std::size_t>(m), 0);
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(m));
    for (int c = 0; c < m; ++c)
        table.SetWidth(c, 0);
    for (const auto& [column, width] : shown) {
        if (column < 0 || column >= m || placed[static_cast<std::size_t>(column)])
            continue;
        placed[static_cast<std::size_t>(column)] = 1;
        table.SetWidth(column, width);
        order.push_back(column);
    }
    for (int c = 0; c < m; ++c)
        if (!placed[static_cast<std::size_t>(c)])
            order.push_back(c);
    table.SetDisplayOrder(order);
}

} // namespace

bool HasStoredArrangement(const std::string& section)
{
    // Settings reads cannot report "absent", so a value is absent when two different defaults both come back.
    return !(ReadInt(section, kUsedColumnCount, -1) == -1 && ReadInt(section, kUsedColumnCount, -2) == -2);
}

void ApplyStoredArrangement(CReportTable& table, const std::string& section)
{
    if (!HasStoredArrangement(section)) {
        std::vector<std::pair<int, int>> shown;
        for (int c = 0; c < table.ColumnCount(); ++c)
            shown.emplace_back(c, table.Column(c).InsertedWidth);
        ArrangeColumns(table, shown);
        return;
    }
    const int n = ReadInt(section, kUsedColumnCount, 0);
    std::vector<std::pair<int, int>> shown;
    // A hostile count cannot make more than the table's columns visible; larger counts just read defaults.
    const int limit = std::min(n, table.ColumnCount() + 64);
    for (int i = 0; i < limit; ++i) {
        const int column = ReadInt(section, FormatC("Column%i", i), i);
        const int width = ReadInt(section, FormatC("ColumnWidth%i", i), i) & 0xFFFF;
        shown.emplace_back(column, width);
    }
    ArrangeColumns(table, shown);
}

void SaveArrangement(const CReportTable& table, const std::string& section)
{
    const std::vector<int> visible = table.VisibleColumnsByDisplay();
    WriteInt(section, kUsedColumnCount, static_cast<int>(visible.size()));
    for (std::size_t i = 0; i < visible.size(); ++i) {
        WriteInt(section, FormatC("Column%i", static_cast<int>(i)), visible[i]);
        WriteInt(section, FormatC("ColumnWidth%i", static_cast<int>(i)), table.Width(visible[i]));
    }
}

CColumnArrangement::CColumnArrangement(const CReportTable& table)
{
    for (int c : table.DisplayOrder())
        m_available.push_back({table.Header(c), c * 10000 + std::clamp(table.Width(c), 0, 9999)});
    auto visible = [](const Item& item) { return item.Width() != 0; };
    std::copy_if(m_available.begin(), m_available.end(), std::back_inserter(m_used), visible);
    m_available.erase(std::remove_if(m_available.begin(), m_available.end(), visible), m_available.end());
}

int CColumnArrangement::MoveToUsed(int availableIndex)
{
    if (availableIndex < 0 || availableIndex >= static_cast<int>(m_available.size()))
        return -1;
    Item item = m_available[static_cast<std::size_t>(availableIndex)];
    m_available.erase(m_available.begin() + availableIndex);
    if (item.Width() == 0)
        item.Code += 75;
    m_used.push_back(item);
    return static_cast<int>(m_used.size()) - 1;
}

bool CColumnArrangement::MoveToAvailable(int usedIndex)
{
    if (usedIndex < 0 || usedIndex >= static_cast<int>(m_used.size()))
        return false;
    m_available.push_back(m_used[static_cast<std::size_t>(usedIndex)]);
    m_used.erase(m_used.begin() + usedIndex);
    return true;
}

bool CColumnArrangement::CanMoveUp(int usedIndex) const noexcept
{
    return usedIndex > 0 && usedIndex < static_cast<int>(m_used.size());
}

bool CColumnArrangement::CanMoveDown(int usedIndex) const noexcept
{
    return usedIndex >= 0 && usedIndex + 1 < static_cast<int>(m_used.size());
}

int CColumnArrangement::MoveUp(int usedIndex)
{
    if (!CanMoveUp(usedIndex))
        return usedIndex;
    std::swap(m_used[static_cast<std::size_t>(usedIndex)], m_used[static_cast<std::size_t>(usedIndex - 1)]);
    return usedIndex - 1;
}

int CColumnArrangement::MoveDown(int usedIndex)
{
    if (!CanMoveDown(usedIndex))
        return usedIndex;
    std::swap(m_used[static_cast<std::size_t>(usedIndex)], m_used[static_cast<std::size_t>(usedIndex + 1)]);
    return usedIndex + 1;
}

void CColumnArrangement::SetWidth(int usedIndex, int width)
{
    if (usedIndex < 0 || usedIndex >= static_cast<int>(m_used.size()))
        return;
    Item& item = m_used[static_cast<std::size_t>(usedIndex)];
    item.Code = item.ColumnIndex() * 10000 + std::clamp(width, 0, 9999);
}

void CColumnArrangement::Apply(CReportTable& table, const std::string& section) const
{
    std::vector<std::pair<int, int>> shown;
    for (const Item& item : m_used)
        shown.emplace_back(item.ColumnIndex(), item.Width());
    ArrangeColumns(table, shown);
    WriteInt(section, kUsedColumnCount, static_cast<int>(m_used.size()));
    for (std::size_t i = 0; i < m_used.size(); ++i) {
        WriteInt(section, FormatC("Column%i", static_cast<int>(i)), m_used[i].ColumnIndex());
        WriteInt(section, FormatC("ColumnWidth%i", static_cast<int>(i)), m_used[i].Width());
    }
}

} // namespace corvelin
