#include "gui/print/LibrarySearchReportPrinter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

#include "gui/print/PrintLayout.h"
#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/table/PrintableText.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

namespace {

constexpr double kUnitsPerMm = kPrintUnitsPerMm;

} // namespace

QFont ReportBaseFont(const CPageLayoutSettings& layout)
{
    QFont font(ToQString(layout.FontName));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(layout.BaseFontSize * 254.0 / 72.0))));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont ReportBoldFont(const CPageLayoutSettings& layout)
{
    QFont font = ReportBaseFont(layout);
    font.setWeight(QFont::Bold); // 700
    return font;
}

CPrintPlan LayoutLibrarySearchReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                     const CSearchReportTexts& texts, const CSearchOptions& options,
                                     const CReportTable& hitList)
{
    // The text area: the paper less the borders, each at least the device's unprintable margin.
    const double left = std::max(layout.BorderLeft * kUnitsPerMm, paper.MarginLeft);
    const double top = std::max(layout.BorderTop * kUnitsPerMm, paper.MarginTop);
    const double right = paper.Width - std::max(layout.BorderRight * kUnitsPerMm, paper.MarginRight);
    const double bottom = paper.Height - std::max(layout.BorderBottom * kUnitsPerMm, paper.MarginBottom);
    const double width = std::max(right - left, 1.0);

    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    const CTextMeasure measure;
    const CStrip strip(top, bottom - top);

    CPrintPlan plan;
    double y = 0;
    auto line = [&](const QString& text, bool isBold) {
        const QFont& font = isBold ? bold : base;
        const double h = measure.WrappedHeight(font, width, text);
        const auto [page, pageTop] = strip.Place(y, h);
        plan.Items.push_back({page, QRectF(left, pageTop, width, h), text, isBold, true});
    };

    line(QStringLiteral("Corvelinscope result report"), true);
    line(QStringLiteral(" "), false);
    line(QStringLiteral("Searched file: ") + ToQString(texts.UnknownPath), false);
    line(QStringLiteral("Sample name: ") + ToQString(texts.SampleName), false);
    line(QStringLiteral("Number of peaks: ") + ToQString(texts.PeakCountText), false);
    line(QStringLiteral(" "), false);
    if (layout.PrintSearchOptions != 0)
        for (const CPrintLine& summary : options.PrintSummary())
            line(ToQString(summary.Text), summary.Heading);

    // The hit table: columns in on-screen order, selected rows only when some but not all are selected.
    std::vector<int> rows = hitList.SelectedRows();
    if (rows.empty() || static_cast<int>(rows.size()) == hitList.RowCount()) {
        rows.clear();
        for (int r = 0; r < hitList.RowCount(); ++r)
            rows.push_back(r);
    }
    const double baseLine = measure.LineHeight(base);
    const double boldLine = measure.LineHeight(bold);
    const double clear = 2.5 * baseLine;

    // Column widths: at least 3 x the on-screen width and at least the widest printed text (header included)
    // plus a gap, so no two columns overlap.
    const double gap = 2.0 * kUnitsPerMm;
    const std::vector<int> columns = hitList.VisibleColumnsByDisplay();
    std::vector<double> widths;
    std::vector<std::vector<QString>> cells(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        double w =
            std::max(3.0 * hitList.Width(columns[c]), measure.Width(bold, ToQString(hitList.Header(columns[c]))) + gap);
        for (int r : rows) {
            cells[c].push_back(ToQString(PrintableText(hitList.Cell(r, columns[c]))));
            w = std::max(w, measure.Width(base, cells[c].back()) + gap);
        }
        widths.push_back(w);
    }

    // Bands: the columns that fit the text area's width side by side; the remaining ones continue in a band
    // below, which repeats the "File" column (when shown) so every row can be told apart.
    std::size_t fileIndex = columns.size();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == 0)
            fileIndex = c;
    std::vector<std::vector<std::size_t>> bands;
    for (std::size_t c = 0; c < columns.size();) {
        std::vector<std::size_t> band;
        double used = 0;
        if (!bands.empty() && fileIndex < columns.size()) {
            band.push_back(fileIndex);
            used = widths[fileIndex];
        }
        const std::size_t fixed = band.size();
        while (c < columns.size()) {
            if (!bands.empty() && c == fileIndex) {
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

    double tableY = y;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (b > 0)
            strip.Place(tableY, baseLine, clear); // one blank line between bands
        // Every column of a band flows over the same pages as its first: the row positions are computed once.
        std::vector<std::pair<int, double>> positions;
        positions.push_back(strip.Place(tableY, boldLine, clear));
        for (std::size_t i = 0; i < rows.size(); ++i)
            positions.push_back(strip.Place(tableY, baseLine, clear));
        double x = left;
        for (std::size_t c : bands[b]) {
            plan.Items.push_back({positions[0].first, QRectF(x, positions[0].second, widths[c], boldLine),
                                  ToQString(hitList.Header(columns[c])), true, false});
            for (std::size_t i = 0; i < rows.size(); ++i)
                plan.Items.push_back({positions[i + 1].first, QRectF(x, positions[i + 1].second, widths[c], baseLine),
                                      cells[c][i], false, false});
            x += widths[c];
        }
    }
    y = tableY;

    plan.PageCount = 1;
    for (const CPrintItem& item : plan.Items)
        plan.PageCount = std::max(plan.PageCount, item.Page + 1);
    return plan;
}

void DrawPrintPage(QPainter& painter, const CPrintPlan& plan, int page, const CPageLayoutSettings& layout)
{
    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    painter.setPen(Qt::black);
    for (const CPrintItem& item : plan.Items) {
        if (item.Page != page)
            continue;
        painter.setFont(item.Bold ? bold : base);
        // Table cells are not clipped to their column: a long text runs on as on paper.
        const int flags = Qt::AlignLeft | Qt::AlignTop | (item.Wrap ? Qt::TextWordWrap : Qt::TextDontClip);
        painter.drawText(item.Box, flags, item.Text);
    }
}

namespace {

bool PrintOn(QPrinter& printer, const CSearchReportTexts& texts, const CSearchOptions& options,
             const CReportTable& hitList)
{
    printer.setDocName(QStringLiteral("Corvelinscope"));
    printer.setFullPage(true);
    const CPageLayoutSettings layout = CPageLayoutSettings::Load();
    const CPrintPlan plan = LayoutLibrarySearchReport(PaperMetricsOf(printer), layout, texts, options, hitList);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;                                  // a failed document start aborts the document
    const double scale = printer.resolution() / 254.0; // device pixels per 0.1 mm
    for (int page = 0; page < plan.PageCount; ++page) {
        if (page > 0 && !printer.newPage()) {
            printer.abort();
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        DrawPrintPage(painter, plan, page, layout);
        painter.restore();
    }
    return painter.end();
}

} // namespace

bool WriteLibrarySearchReportPdf(const QString& pdfPath, const CSearchReportTexts& texts, const CSearchOptions& options,
                                 const CReportTable& hitList)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    return PrintOn(printer, texts, options, hitList);
}

bool PrintLibrarySearchReport(QWidget* parent, const CSearchReportTexts& texts, const CSearchOptions& options,
                              const CReportTable& hitList, bool batch, const QString& pdfPath)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    const bool noPrinter = defaultPrinter.isNull() && QPrinterInfo::availablePrinterNames().isEmpty();
    if (noPrinter) {
        // A machine without printers gets the report as a PDF file next to the CSV report.
        const bool written = WriteLibrarySearchReportPdf(pdfPath, texts, options, hitList);
        if (!batch && written)
            Messages().ShowMessage("No printer is installed. The report was written to the file\n" +
                                       ToStdString(pdfPath),
                                   {}, MessageIcon::Information);
        return written;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (batch) {
        if (defaultPrinter.isNull())
            return false;
        printer.setPrinterName(defaultPrinter.printerName());
        return PrintOn(printer, texts, options, hitList);
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintOn(printer, texts, options, hitList);
}

} // namespace corvelin
