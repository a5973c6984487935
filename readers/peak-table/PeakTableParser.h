#pragma once
// Parses a delimited peak table (one row per peak) into rows with retention time in minutes, the optional
// values, and the spectrum lines. The rules are written up in readers/README.md.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/peak-table/PeakTableColumns.h"
#include "readers/peak-table/SpectrumText.h"

namespace corvelin {

namespace peaktable {

// Bounds for hostile tables: cells per row, rows, spectrum lines of the whole table, and how many non-empty lines
// before the header row may be a preamble.
inline constexpr std::size_t kMaxCells = 4096;
inline constexpr std::size_t kMaxRows = 100000;
inline constexpr std::size_t kMaxTableSpectrumLines = 1u << 21;
inline constexpr std::size_t kMaxPreambleLines = 50;
// Retention times without a stated unit are seconds when the largest is above this, else minutes.
inline constexpr double kSecondsAbove = 100;
// The largest area or height taken: the totals of kMaxRows such rows, and their percentages, stay finite.
inline constexpr double kMaxPeakValue = 1e300;

struct PeakRow {
    std::size_t line = 0; // 1-based line in the file
    double rt = 0;        // minutes
    std::optional<double> ri;
    double area = 0;                  // the area cell, else the sum of the spectrum's intensities
    double height = 0;                // the height cell, else the spectrum's largest intensity
    std::optional<double> start, end; // minutes
    std::vector<SpectrumLine> spectrum;
    std::string name;
};

struct PeakTable {
    ColumnMap columns;
    char separator = '\t';
    bool decimalComma = false;
    TimeUnit rtUnit = TimeUnit::Unstated; // as read, after the rule for an unstated unit
    std::vector<PeakRow> rows;            // in file order
    std::vector<std::string> leftOut;     // "line 7: the area '-5' is negative" for the first rows left out
    std::size_t leftOutCount = 0;         // all rows left out
};
inline constexpr std::size_t kListedLeftOut = 20;

// The header row: the first non-empty line (up to kMaxPreambleLines of them) with a retention time and a spectrum
// column. Throws TableError naming the column that the first non-empty line lacks when there is none.
struct HeaderRow {
    std::size_t line = 0;
    char separator = '\t';
    std::size_t cellCount = 0;
    ColumnMap columns;
};
HeaderRow FindHeaderRow(std::string_view text, const LabColumns& lab);

// The whole table. Throws TableError for a missing column, a time column in a unit that is not known, or a
// damaged row (the message names its line). A row with more non-empty cells than the header has columns is
// damaged: a separator inside an unquoted cell would otherwise shift the values into the wrong columns. A row
// whose area or height is negative or beyond kMaxPeakValue is left out and listed in leftOut; a table with no row
// left throws.
PeakTable ParsePeakTable(std::string_view text, const LabColumns& lab);

} // namespace peaktable

} // namespace corvelin
