#pragma once
// The hit list as an aligned text table: the visible columns in on-screen (display) order, each as wide as
// its widest text, separated by two blanks; the header line, then one line per row in the list's order.
// Control characters in texts are shown as blanks, so nothing in a cell ends or breaks the output.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CReportTable;

CORVELIN_ENGINE_EXPORT std::string FormatAlignedTable(const CReportTable& table);

} // namespace corvelin
