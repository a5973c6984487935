#pragma once
// The column arrangement of a report table: which columns are shown, in which order and how wide, stored per
// user in a settings section named by the owning list ("LibrarySearch", "MatchTable", "MassSpecReport"):
// "UsedColumnCount" = n, and for i = 0 ... n - 1 "Column%i" (column index at display position i) and
// "ColumnWidth%i" (its width). CColumnArrangement is the logic of the "Column Arrangement" dialog.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CReportTable;

// Applies the arrangement stored in the per-user section to the table: every column hidden, then the stored
// columns get their widths (low 16 bits) and display positions, the others follow in index order.
// A list that never had an arrangement stored ("UsedColumnCount" absent) keeps every column visible at the
// width it was inserted with, so a first start shows and saves complete lists. A stored arrangement, even
// one of 0 columns, is applied as written. Stored column indexes outside the table, and repeats, are skipped.
CORVELIN_ENGINE_EXPORT void ApplyStoredArrangement(CReportTable& table, const std::string& section);

// Writes the table's visible columns, in display order, as the section's arrangement.
CORVELIN_ENGINE_EXPORT void SaveArrangement(const CReportTable& table, const std::string& section);

// Whether the section holds an arrangement ("UsedColumnCount" present).
CORVELIN_ENGINE_EXPORT bool HasStoredArrangement(const std::string& section);

// The dialog: every column is carried as one number, column index * 10000 + width.
class CORVELIN_ENGINE_EXPORT CColumnArrangement {
public:
    struct CORVELIN_ENGINE_EXPORT Item {
        std::string Header;
        int Code = 0; // column index * 10000 + width
        int ColumnIndex() const noexcept { return Code / 10000; }
        int Width() const noexcept { return Code % 10000; }
    };

    // Every column of the table in its current display order goes to "available", then every column whose
    // width is not 0 moves to "used" (so "used" starts with the visible columns in display order).
    explicit CColumnArrangement(const CReportTable& table);

    const std::vector<Item>& Available() const noexcept { return m_available; }
    const std::vector<Item>& Used() const noexcept { return m_used; }

    // ">": moves available item i to the end of the used list (a width of 0 becomes 75); returns its new
    // used index, or -1 when i is out of range.
    int MoveToUsed(int availableIndex);
    // "<": moves used item i back to the end of the available list; false when out of range.
    bool MoveToAvailable(int usedIndex);
    // Up and down buttons: enabled when the item is not the first / not the last.
    bool CanMoveUp(int usedIndex) const noexcept;
    bool CanMoveDown(int usedIndex) const noexcept;
    // Moves the used item one place; returns its new index (unchanged when it cannot move).
    int MoveUp(int usedIndex);
    int MoveDown(int usedIndex);
    // The "selected column width" edit: stores the width (0 ... 9999) into the used item.
    void SetWidth(int usedIndex, int width);

    // OK: hides every column of the table, shows the used ones with their widths first in display order,
    // the others after them in index order, and writes the arrangement to the section.
    void Apply(CReportTable& table, const std::string& section) const;

private:
    std::vector<Item> m_available;
    std::vector<Item> m_used;
};

} // namespace corvelin
