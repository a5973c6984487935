#include "readers/peak-table/PeakTableParser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "readers/peak-table/TableText.h"

namespace corvelin {

namespace peaktable {

namespace {

std::string MissingColumnText(ColumnRole role)
{
    return std::string("no ") + RoleText(role) + " column (a header such as " + RoleExamples(role) + ")";
}

[[noreturn]] void RowError(std::size_t line, const std::string& what)
{
    throw TableError("line " + std::to_string(line) + ": " + what);
}

const std::string& CellOf(const std::vector<std::string>& cells, const ColumnMap& map, ColumnRole role)
{
    static const std::string empty;
    const int i = map.Of(role);
    return i >= 0 && static_cast<std::size_t>(i) < cells.size() ? cells[static_cast<std::size_t>(i)] : empty;
}

// An optional number: an empty cell is absent; anything else must be a number.
std::optional<double> OptionalNumber(const std::string& cell, bool decimalComma, bool leading, std::size_t line,
                                     ColumnRole role)
{
    if (TrimBlanks(cell).empty())
        return std::nullopt;
    double v = 0;
    if (!(leading ? ParseLeadingNumber(cell, decimalComma, v) : ParseNumber(cell, decimalComma, v)))
        RowError(line, std::string("the ") + RoleText(role) + " '" + cell.substr(0, 40) + "' is not a number");
    return v;
}

double MinutesFactor(TimeUnit unit) noexcept
{
    switch (unit) {
    case TimeUnit::Seconds:
        return 1.0 / 60.0;
    case TimeUnit::Milliseconds:
        return 1.0 / 60000.0;
    case TimeUnit::Hours:
        return 60.0;
    default:
        return 1.0;
    }
}

// A time column whose header states a unit the reader does not know is refused: its values cannot be placed.
void CheckTimeUnits(const ColumnMap& map)
{
    for (const ColumnRole role : {ColumnRole::RT, ColumnRole::Start, ColumnRole::End})
        if (map.Has(role) && map.UnitOf(role) == TimeUnit::Unknown)
            throw TableError(std::string("the ") + RoleText(role) + " column states the unit '" +
                             map.unitText[static_cast<std::size_t>(role)].substr(0, 40) +
                             "', which is not known (s, ms, min or h)");
}

// An area or height cell: absent when empty, +infinity for a number beyond the range of a double ("1e999"),
// else a number (or the row is damaged).
std::optional<double> PeakValue(const std::string& cell, bool decimalComma, std::size_t line, ColumnRole role)
{
    const std::string_view text = TrimBlanks(cell);
    double v = 0;
    if (!text.empty() && !ParseNumber(text, decimalComma, v)) {
        std::string plain(text.substr(0, 64));
        if (decimalComma)
            std::replace(plain.begin(), plain.end(), ',', '.');
        char* end = nullptr;
        const double huge = std::strtod(plain.c_str(), &end);
        if (end == plain.c_str() + plain.size() && std::isinf(huge) && plain.find_first_of("iInN") == std::string::npos)
            return std::fabs(huge);
    }
    return OptionalNumber(cell, decimalComma, false, line, role);
}

// Why a row's area or height (what) cannot be taken, or empty. An empty cell: the value came from the spectrum.
std::string UnusableValue(double value, const char* what, const std::string& cell)
{
    const std::string subject = TrimBlanks(cell).empty() ? std::string("the spectrum's ") + what
                                                         : std::string("the ") + what + " '" + cell.substr(0, 40) + "'";
    if (value < 0)
        return subject + " is negative";
    if (!(value <= kMaxPeakValue))
        return subject + " is too large";
    return {};
}

double SumOfIntensities(const std::vector<SpectrumLine>& lines)
{
    double sum = 0;
    for (const SpectrumLine& l : lines)
        sum += l.intensity;
    return sum;
}

double LargestIntensity(const std::vector<SpectrumLine>& lines)
{
    double largest = 0;
    for (const SpectrumLine& l : lines)
        largest = std::max(largest, l.intensity);
    return largest;
}

} // namespace

HeaderRow FindHeaderRow(std::string_view text, const LabColumns& lab)
{
    std::vector<std::string> cells;
    std::optional<ColumnMap> first;
    std::size_t seen = 0;
    for (TableLines lines(text); !lines.AtEnd() && seen < kMaxPreambleLines; lines.Advance()) {
        if (TrimBlanks(lines.Line()).empty())
            continue;
        ++seen;
        const char separator = DetectSeparator(lines.Line());
        try {
            SplitCells(lines.Line(), separator, kMaxCells, cells);
        } catch (const TableError& error) {
            RowError(lines.Number(), error.what());
        }
        const ColumnMap map = RecogniseColumns(cells, lab);
        if (map.Has(ColumnRole::RT) && map.Has(ColumnRole::Spectrum)) {
            CheckTimeUnits(map);
            return {lines.Number(), separator, cells.size(), map};
        }
        if (!first)
            first = map;
    }
    if (!first)
        throw TableError("the file holds no table");
    throw TableError(MissingColumnText(first->Has(ColumnRole::RT) ? ColumnRole::Spectrum : ColumnRole::RT));
}

PeakTable ParsePeakTable(std::string_view text, const LabColumns& lab)
{
    const HeaderRow header = FindHeaderRow(text, lab);
    PeakTable table;
    table.columns = header.columns;
    table.separator = header.separator;
    // A semicolon table is the form spreadsheets write where the comma is the decimal sign.
    table.decimalComma = header.separator == ';';
    const ColumnMap& map = table.columns;

    std::vector<std::string> cells;
    std::size_t spectrumLines = 0;
    double largestRT = 0;
    TableLines lines(text);
    while (!lines.AtEnd() && lines.Number() <= header.line)
        lines.Advance();
    for (; !lines.AtEnd(); lines.Advance()) {
        if (TrimBlanks(lines.Line()).empty())
            continue;
        const std::size_t line = lines.Number();
        try {
            SplitCells(lines.Line(), table.separator, kMaxCells, cells);
        } catch (const TableError& error) {
            RowError(line, error.what());
        }
        for (std::size_t c = header.cellCount; c < cells.size(); ++c)
            if (!cells[c].empty())
                RowError(line, "more cells than the header has columns (a separator inside an unquoted cell?)");
        if (table.rows.size() == kMaxRows)
            RowError(line, "more than " + std::to_string(kMaxRows) + " rows");
        PeakRow row;
        row.line = line;
        const std::string& rtCell = CellOf(cells, map, ColumnRole::RT);
        if (!ParseNumber(rtCell, table.decimalComma, row.rt) || row.rt < 0)
            RowError(line, "the retention time '" + rtCell.substr(0, 40) + "' is not a number from 0 up");
        largestRT = std::max(largestRT, row.rt);
        row.ri = OptionalNumber(CellOf(cells, map, ColumnRole::RI), table.decimalComma, false, line, ColumnRole::RI);
        const std::string& areaCell = CellOf(cells, map, ColumnRole::Area);
        const std::string& heightCell = CellOf(cells, map, ColumnRole::Height);
        const std::optional<double> area = PeakValue(areaCell, table.decimalComma, line, ColumnRole::Area);
        const std::optional<double> height = PeakValue(heightCell, table.decimalComma, line, ColumnRole::Height);
        // Start and end cells may carry more after the time ("291.391, 22430": time and signal).
        row.start =
            OptionalNumber(CellOf(cells, map, ColumnRole::Start), table.decimalComma, true, line, ColumnRole::Start);
        row.end = OptionalNumber(CellOf(cells, map, ColumnRole::End), table.decimalComma, true, line, ColumnRole::End);
        if (!ParseSpectrumText(CellOf(cells, map, ColumnRole::Spectrum), table.decimalComma, row.spectrum))
            RowError(line, "the spectrum is not a list of mass:intensity pairs (at most " +
                               std::to_string(kMaxSpectrumLines) + ")");
        spectrumLines += row.spectrum.size();
        if (spectrumLines > kMaxTableSpectrumLines)
            RowError(line, "more than " + std::to_string(kMaxTableSpectrumLines) + " spectrum lines in the table");
        row.area = area ? *area : SumOfIntensities(row.spectrum);
        row.height = height ? *height : LargestIntensity(row.spectrum);
        std::string unusable = UnusableValue(row.area, "area", areaCell);
        if (unusable.empty())
            unusable = UnusableValue(row.height, "height", heightCell);
        if (!unusable.empty()) {
            if (table.leftOut.size() < kListedLeftOut)
                table.leftOut.push_back("line " + std::to_string(line) + ": " + unusable);
            ++table.leftOutCount;
            continue;
        }
        row.name = CellOf(cells, map, ColumnRole::Name).substr(0, 256);
        table.rows.push_back(std::move(row));
    }

    if (table.rows.empty() && table.leftOutCount > 0)
        throw TableError("no row is left: " + table.leftOut.front() + (table.leftOut.size() > 1 ? ", ..." : ""));
    table.rtUnit = map.UnitOf(ColumnRole::RT);
    if (table.rtUnit == TimeUnit::Unstated)
        table.rtUnit = largestRT > kSecondsAbove ? TimeUnit::Seconds : TimeUnit::Minutes;
    const auto unitOf = [&](ColumnRole role) {
        const TimeUnit u = map.UnitOf(role);
        return u == TimeUnit::Unstated ? table.rtUnit : u;
    };
    const double rtFactor = MinutesFactor(table.rtUnit);
    const double startFactor = MinutesFactor(unitOf(ColumnRole::Start));
    const double endFactor = MinutesFactor(unitOf(ColumnRole::End));
    for (PeakRow& row : table.rows) {
        row.rt *= rtFactor;
        if (row.start)
            *row.start *= startFactor;
        if (row.end)
            *row.end *= endFactor;
    }
    return table;
}

} // namespace peaktable

} // namespace corvelin
