#include "gui/print/ReportTablePrint.h"

#include <QFont>
#include <algorithm>
#include <vector>

#include "engine/table/PrintableText.h"
#include "engine/table/ReportTable.h"
#include "gui/print/PrintLayout.h"
#include "gui/widgets/QtText.h"

namespace corvelin {
namespace {

std::vector<int> PrintedRows(const CReportTable& table)
{
    std::vector<int> rows = table.SelectedRows();
    if (rows.empty() || static_cast<int>(rows.size()) == table.RowCount()) {
        rows.clear();
        for (int r = 0; r < table.RowCount(); ++r)
            rows.push_back(r);
    }
    return rows;
}

// The bands: the columns (indexes into the display order) that fit the width side by side; the remaining ones
// continue in a band below, which starts with the key column when it is shown.
std::vector<std::vector<std::size_t>> Bands(const std::vector<int>& columns, const std::vector<double>& widths,
                                            double width, int keyColumn)
{
    std::size_t keyIndex = columns.size();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == keyColumn)
            keyIndex = c;
    std::vector<std::vector<std::size_t>> bands;
    for (std::size_t c = 0; c < columns.size();) {
        std::vector<std::size_t> band;
        double used = 0;
        if (!bands.empty() && keyIndex < columns.size()) {
            band.push_back(keyIndex);
            used = widths[keyIndex];
        }
        const std::size_t fixed = band.size();
        while (c < columns.size()) {
            if (!bands.empty() && c == keyIndex) {
                ++c;
                continue;
            }
            if (band.size() > fixed && used + widths[c] > width)
                break;
            band.push_back(c);
            used += widths[c];
            ++c;
        }
        if (band.size() > fixed)
            bands.push_back(std::move(band));
    }
    return bands;
}

} // namespace

void LayoutReportTable(CPrintPlan& plan, const CStrip& strip, double& y, double left, double width,
                       const CPageLayoutSettings& layout, const CReportTable& table, int keyColumn)
{
    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    const CTextMeasure measure;
    const std::vector<int> rows = PrintedRows(table);
    const double baseLine = measure.LineHeight(base);
    const double boldLine = measure.LineHeight(bold);
    const double clear = 2.5 * baseLine;

    const double gap = 2.0 * kPrintUnitsPerMm;
    const std::vector<int> columns = table.VisibleColumnsByDisplay();
    std::vector<double> widths;
    std::vector<std::vector<QString>> cells(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        double w =
            std::max(3.0 * table.Width(columns[c]), measure.Width(bold, ToQString(table.Header(columns[c]))) + gap);
        for (int r : rows) {
            cells[c].push_back(ToQString(PrintableText(table.Cell(r, columns[c]))));
            w = std::max(w, measure.Width(base, cells[c].back()) + gap);
        }
        widths.push_back(w);
    }

    const std::vector<std::vector<std::size_t>> bands = Bands(columns, widths, width, keyColumn);
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (b > 0)
            strip.Place(y, baseLine, clear); // one blank line between bands
        // Every column of a band flows over the same pages as its first: the row positions are computed once. A
        // row that starts a new page is preceded there by the band's header row.
        std::vector<std::pair<int, double>> headers{strip.Place(y, boldLine, clear)};
        std::vector<std::pair<int, double>> positions;
        int page = headers.back().first;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::pair<int, double> at = strip.Place(y, baseLine, clear);
            if (at.first != page) {
                y -= baseLine; // back to the new page's top, where the header goes first
                headers.push_back(strip.Place(y, boldLine, clear));
                at = strip.Place(y, baseLine, clear);
            }
            page = at.first;
            positions.push_back(at);
        }
        double x = left;
        for (std::size_t c : bands[b]) {
            for (std::size_t h = 0; h < headers.size(); ++h) {
                CPrintItem header{headers[h].first, QRectF(x, headers[h].second, widths[c], boldLine),
                                  ToQString(table.Header(columns[c])), true, false};
                header.Repeat = h > 0;
                plan.Items.push_back(header);
            }
            for (std::size_t i = 0; i < rows.size(); ++i)
                plan.Items.push_back({positions[i].first, QRectF(x, positions[i].second, widths[c], baseLine),
                                      cells[c][i], false, false});
            x += widths[c];
        }
    }
}

} // namespace corvelin
