#include "engine/table/AlignedTableText.h"

#include <algorithm>
#include <vector>

#include "engine/table/PrintableText.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

std::string FormatAlignedTable(const CReportTable& table)
{
    const std::vector<int> columns = table.VisibleColumnsByDisplay();
    std::vector<std::size_t> widths;
    for (int c : columns) {
        std::size_t w = table.Header(c).size();
        for (int r = 0; r < table.RowCount(); ++r)
            w = std::max(w, table.Cell(r, c).size());
        widths.push_back(w);
    }
    auto line = [&](auto text) {
        std::string out;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string t = PrintableText(text(columns[i]));
            out += t;
            if (i + 1 < columns.size())
                out.append(widths[i] - t.size() + 2, ' ');
        }
        return out + "\n";
    };
    std::string out = line([&](int c) -> const std::string& { return table.Header(c); });
    for (int r = 0; r < table.RowCount(); ++r)
        out += line([&](int c) -> const std::string& { return table.Cell(r, c); });
    return out;
}

} // namespace corvelin
