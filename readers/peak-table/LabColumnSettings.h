#pragma once
// A lab's own column names for peak tables from tools the built-in aliases do not know, kept in the module's
// machine-wide settings section ("Plugins\PeakTable"): "RT Column", "RI Column", "Area Column", "Height Column",
// "Start Column", "End Column", "Spectrum Column", "Name Column" (each one header text, or several separated by
// "|") and "RT Unit" ("s" or "min", for tables whose header does not say).
#include <string>
#include <vector>

#include "readers/peak-table/PeakTableColumns.h"

namespace corvelin {

namespace peaktable {

// The names from the first of sections that has each value (machine-wide scope). Never throws: an unreadable
// store gives no lab names.
LabColumns LoadLabColumns(const std::vector<std::string>& sections) noexcept;

// The settings value name of a role ("RT Column", ...).
std::string LabColumnValueName(ColumnRole role);

} // namespace peaktable

} // namespace corvelin
