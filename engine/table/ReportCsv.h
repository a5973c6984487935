#pragma once
// The CSV form of a report table: every field is a double quote, the text, a double quote and a comma (the
// last field too); "/" inside a text is written as " of "; control characters are written as blanks (so no
// cell can end or break a line); double quotes are not escaped; hidden columns
// (width 0) are left out. Lines end with "\n" here; the report files are text-mode files, written with
// WriteTextFile (platform/TextFile.h), so on disk every line ends with CR LF. The library search report lists
// columns in column index order, the peak compare table in display order.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CReportTable;

enum class CsvColumnOrder { ColumnIndex, Display };

// One field: the quoted text with "/" replaced by " of " (unless the text is a path), and its comma.
CORVELIN_ENGINE_EXPORT std::string CsvField(const std::string& text, bool isPath = false);
// The header line of the visible columns, ending with "\n".
CORVELIN_ENGINE_EXPORT std::string CsvHeaderLine(const CReportTable& table, CsvColumnOrder order);
// Row r of the visible columns, ending with "\n".
CORVELIN_ENGINE_EXPORT std::string CsvRowLine(const CReportTable& table, int row, CsvColumnOrder order);
// The header line and every row in the table's current row order.
CORVELIN_ENGINE_EXPORT std::string CsvTable(const CReportTable& table, CsvColumnOrder order);

} // namespace corvelin
