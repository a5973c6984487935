#pragma once
// A lab's own column names for peak tables from tools the built-in aliases do not know, kept in the subsection
// "Columns" of the module's machine-wide settings section ("Plugins\PeakTable\Columns", in the INI file the
// section [HKLM Plugins PeakTable Columns], which can simply be appended: the registration's own section of the
// same name as the module's comes first, so values appended under a second copy of it are never read), or in that
// section itself: "RT Column", "RI Column", "Area Column", "Height Column",
// "Start Column", "End Column", "Spectrum Column", "Name Column" (each one header text, or several separated by
// "|") and "RT Unit" ("s" or "min", for tables whose header does not say).
#include <string>
#include <vector>

#include "readers/peak-table/PeakTableColumns.h"

namespace corvelin {

namespace peaktable {

inline constexpr const char* kLabColumnsSubsection = "Columns";

// The names from the first of sections that has each value, their "Columns" subsections first (machine-wide
// scope). Never throws: an unreadable
// store gives no lab names.
LabColumns LoadLabColumns(const std::vector<std::string>& sections) noexcept;

// The settings value name of a role ("RT Column", ...).
std::string LabColumnValueName(ColumnRole role);

} // namespace peaktable

} // namespace corvelin
