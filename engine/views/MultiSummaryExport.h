#pragma once
// The CSV file of the multi-file peak summary: a title line, the search parameters, the summary options, then
// "Results:", the header line and one line per table row with the visible columns in column index order.
// A text-mode file: lines end with CR LF on disk.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CReportTable;
class CSearchOptions;

// The file's text with "\n" line ends.
CORVELIN_ENGINE_EXPORT std::string MultiSummaryCsvText(const CSearchOptions& options, const CReportTable& table);

// Writes the file whole (an existing file is replaced only once the new one is complete). On failure shows the
// system's text for the error, "\n" and "Could not open file %s. Please ensure that it is not opened, e.g. by
// Excel." (default caption) and returns false.
CORVELIN_ENGINE_EXPORT bool WriteMultiSummaryCsv(const std::string& path, const CSearchOptions& options,
                                                 const CReportTable& table);

} // namespace corvelin
