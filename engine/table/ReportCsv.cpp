#include "engine/table/ReportCsv.h"

#include <vector>

#include "engine/table/PrintableText.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

namespace {

std::vector<int> Columns(const CReportTable& table, CsvColumnOrder order)
{
    return order == CsvColumnOrder::ColumnIndex ? table.VisibleColumnsByIndex() : table.VisibleColumnsByDisplay();
}

} // namespace

std::string CsvField(const std::string& text, bool isPath)
{
    std::string out;
    out.reserve(text.size() + 8);
    out += '"';
    for (char c : PrintableText(text)) {
        if (c == '/' && !isPath)
            out += " of ";
        else
            out += c;
    }
    out += "\",";
    return out;
}

std::string CsvHeaderLine(const CReportTable& table, CsvColumnOrder order)
{
    std::string out;
    for (int c : Columns(table, order))
        out += CsvField(table.Header(c));
    return out + "\n";
}

std::string CsvRowLine(const CReportTable& table, int row, CsvColumnOrder order)
{
    std::string out;
    for (int c : Columns(table, order))
        out += CsvField(table.Cell(row, c), table.Column(c).HoldsPaths);
    return out + "\n";
}

std::string CsvTable(const CReportTable& table, CsvColumnOrder order)
{
    std::string out = CsvHeaderLine(table, order);
    for (int r = 0; r < table.RowCount(); ++r)
        out += CsvRowLine(table, r, order);
    return out;
}

} // namespace corvelin
