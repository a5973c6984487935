#pragma once
// The mass spec match report: one chromatogram against the marked entries of the options' spectral list. Column
// "RT" and one column per marked entry (in list order); one row per peak of the chromatogram (all of them, no
// RT range or spectral-list filtering); each cell the spectral similarity of the entry and the peak as "%.3f",
// or a single blank when it is below 0.0005.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
class CReportTable;
class CSearchOptions;

inline constexpr const char* kMassSpecReportSection = "MassSpecReport";
inline constexpr const char* kMassSpecReportEmptyText = "Hit list will contain data after a search.";

// The columns of a new page: "RT", "Comp. 1" and "Comp. 2", 40 pixels each, as placeholders.
CORVELIN_ENGINE_EXPORT void SetUpMassSpecReportColumns(CReportTable& table);

// Puts the report of a chromatogram already read into the table: every row and every column but the first
// are replaced.
CORVELIN_ENGINE_EXPORT void FillMassSpecReport(const CLibraryChromatogram& chromatogram, const CSearchOptions& options,
                                               CReportTable& table);

enum class MassSpecReportOutcome {
    Built,
    NoSpectra,   // "There are no search parameter mass specs to report the matches"
    MissingPath, // "Please select a chromatogram!"
    Unreadable   // "Error reading from Chromatogram file '<path>'"; the table holds one row with that text
};

// What the report was made of: the chromatogram's sample name and data system.
struct CORVELIN_ENGINE_EXPORT CMassSpecReportSource {
    std::string SampleName;
    std::string DataSystem;
};

// Reads the chromatogram through the input reader (area threshold as minimum area; a failed read gives one message,
// with the reader's reason on a line of its own) and fills the table; source, when given, gets what it was made of.
CORVELIN_ENGINE_EXPORT MassSpecReportOutcome BuildMassSpecReport(const std::string& path, const CSearchOptions& options,
                                                                 CReportTable& table,
                                                                 CMassSpecReportSource* source = nullptr);

// The CSV form of the report: the visible columns in display order and every row.
CORVELIN_ENGINE_EXPORT std::string MassSpecReportCsvText(const CReportTable& table);

} // namespace corvelin
