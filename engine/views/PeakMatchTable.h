#pragma once
// The peak match table: two chromatograms, "this" and "other", compared with the compare options; one row per
// assigned pair (both peaks, the pair's value and the factors of the matchings that are on), then the "this"
// peaks without a partner, then the "other" peaks without one. The model reads both files, compares them, fills
// the report table and keeps the chromatograms and the cell table of the last build for the page's peak actions.
#include <atomic>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CReportTable;
class CSearchOptions;

namespace PeakMatchColumn {
inline constexpr int ThisRT = 0;
inline constexpr int ThisPeakNumber = 1;
inline constexpr int OtherRT = 9;
inline constexpr int OtherPeakNumber = 10;
inline constexpr int MatchValue = 18;
inline constexpr int RTMatch = 19;
inline constexpr int RIMatch = 20;
inline constexpr int AreaMatch = 21;
inline constexpr int HeightMatch = 22;
inline constexpr int MSMatch = 23;
inline constexpr int Count = 24;
} // namespace PeakMatchColumn

// The settings section of the table's column arrangement and of the export's "Last Save Path".
inline constexpr const char* kPeakMatchSection = "MatchTable";
inline constexpr const char* kPeakMatchEmptyText = "This list will contain data after comparing.";

// Replaces the table's columns by the 24 columns of the peak match table (no rows).
CORVELIN_ENGINE_EXPORT void SetUpPeakMatchColumns(CReportTable& table);

// The rows of a compared pair of chromatograms: cells[i][j] at or above 0.0005 marks "this" peak i as paired
// with "other" peak j (the first such j of the row). Appends rows to a table set up by SetUpPeakMatchColumns.
CORVELIN_ENGINE_EXPORT void FillPeakMatchRows(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                                              const CSearchOptions& options, const CCellTable& cells,
                                              CReportTable& table);

// Sorting on a header click: descending first for the sizes and the match values, ascending for the others;
// a second click on the same column reverses the default. The last column and direction are kept for the
// whole process (every peak match table shares them).
class CORVELIN_ENGINE_EXPORT CPeakMatchSort {
public:
    // The sort key for a click on column (signed: -(column + 1) descending, column + 1 ascending); remembers it.
    static int NextKey(int column);
    static bool DefaultDescending(int column) noexcept;
    // Back to "nothing sorted yet" (column -1).
    static void Reset() noexcept;
};

// Sorts the table by a click on the column (CPeakMatchSort::NextKey, real-number compare).
CORVELIN_ENGINE_EXPORT void SortPeakMatchTable(CReportTable& table, int column);

class CORVELIN_ENGINE_EXPORT CPeakMatchTable {
public:
    enum class Outcome {
        Built,                // the table holds the new rows
        MissingPath,          // "Please choose the files to compare" was shown
        MultipleMatching,     // the question was answered No: nothing built
        OpenOptions,          // the question was answered Yes: the caller opens the compare options
        Unreadable,           // "Error reading file <path>" was shown
        MissingRICalibration, // "Insufficient RI calibration data for file <path>" was shown
        TooManyPeaks,         // a file has more than kMaxViewPeaks peaks (WithinViewPeakLimit's message)
        Stopped               // the running flag of a job was cleared (no message)
    };

    // Both chromatograms of a build, compared: PeakCount is the number of peaks each holds, the cell table has
    // one row per "this" peak and one column per "other" peak.
    struct CORVELIN_ENGINE_EXPORT CCompared {
        CLibraryChromatogram This;
        CLibraryChromatogram Other;
        CCellTable Cells;
    };

    // Build in three steps, so that a page can read and compare off its interface thread:
    // Check asks what a build needs from the user first (both paths: "Please choose the files to compare"; multiple
    // matching off: the question); Built when the build may go on.
    static Outcome Check(const std::string& thisPath, const std::string& otherPath, const CSearchOptions& options);
    // ReadAndCompare reads both files (area threshold as minimum area, messages on; the options' RI table applied
    // to a foreign chromatogram without one when RI matching is on) and compares them; it asks nothing and touches
    // no table. With a running flag it ends Stopped once the flag is cleared (looked at after each read).
    static Outcome ReadAndCompare(const std::string& thisPath, const std::string& otherPath,
                                  const CSearchOptions& options, CCompared& compared,
                                  const std::atomic<bool>* running = nullptr);
    // Show takes the compared pair over and refills the table (columns set up, the stored arrangement of
    // "MatchTable" applied when applyArrangement is set, rows).
    void Show(CCompared compared, const CSearchOptions& options, CReportTable& table, bool applyArrangement = true);

    // Check, ReadAndCompare and Show in one. Whatever fails before the comparison leaves the previous
    // chromatograms, cell table and table as they were.
    Outcome Build(const std::string& thisPath, const std::string& otherPath, const CSearchOptions& options,
                  CReportTable& table, bool applyArrangement = true);

    // The same on chromatograms already read (no messages, no reads).
    void Build(CLibraryChromatogram self, CLibraryChromatogram other, const CSearchOptions& options,
               CReportTable& table, bool applyArrangement = true);

    const CLibraryChromatogram& This() const noexcept { return m_this; }
    const CLibraryChromatogram& Other() const noexcept { return m_other; }
    const CCellTable& Cells() const noexcept { return m_cells; }
    bool HasBuilt() const noexcept { return m_built; }

    // The peak a row of the table names on one side (column below 9: "this", else "other"), found by the
    // peak number of that side; nullptr when the row holds "-" there or the number is not a peak.
    const CLibraryChromatogramPeakData* PeakOfRow(const CReportTable& table, int row, int column) const;
    // The label of a peak taken from the table: its RT as "%.2f", a blank and the chromatogram's path.
    std::string PeakLabel(int row, int column, const CReportTable& table) const;
    const CLibraryChromatogram& SideOf(int column) const noexcept { return column < 9 ? m_this : m_other; }

private:
    CLibraryChromatogram m_this;
    CLibraryChromatogram m_other;
    CCellTable m_cells;
    bool m_built = false;
};

// The CSV export. Default file name: the file name part of both chromatograms' paths joined by "_"; empty when
// either path has no folder separator (the export then does nothing).
CORVELIN_ENGINE_EXPORT std::string PeakMatchCsvFileName(const std::string& thisPath, const std::string& otherPath);
// The file's text with "\n" line ends: head, compare parameters, the visible columns in display order and
// every row in the table's current order.
CORVELIN_ENGINE_EXPORT std::string PeakMatchCsvText(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                                                    const CSearchOptions& options, const CReportTable& table);
// Writes the text as a text-mode file (replaced whole). On failure shows the system's error text, "\n" and
// "Could not open file %s. Please ensure that it is not opened, e.g. by Excel." and returns false.
CORVELIN_ENGINE_EXPORT bool WritePeakMatchCsv(const std::string& path, const CLibraryChromatogram& self,
                                              const CLibraryChromatogram& other, const CSearchOptions& options,
                                              const CReportTable& table);

} // namespace corvelin
