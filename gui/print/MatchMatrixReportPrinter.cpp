#include "gui/print/MatchMatrixReportPrinter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "gui/plots/MatrixDisplay.h"
#include "gui/print/PrintLayout.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CMatrixPrintPlan LayoutMatchMatrixReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                         const CMatrixReportTexts& texts, const CSearchOptions& options)
{
    const double left = std::max(layout.BorderLeft * kPrintUnitsPerMm, paper.MarginLeft);
    const double top = std::max(layout.BorderTop * kPrintUnitsPerMm, paper.MarginTop);
    const double right = paper.Width - std::max(layout.BorderRight * kPrintUnitsPerMm, paper.MarginRight);
    const double bottom = paper.Height - std::max(layout.BorderBottom * kPrintUnitsPerMm, paper.MarginBottom);
    const double width = std::max(right - left, 1.0);

    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    const CTextMeasure measure;
    const CStrip strip(top, bottom - top);

    CMatrixPrintPlan plan;
    double y = 0;
    auto line = [&](const std::string& text, bool isBold) {
        const QString q = text.empty() ? QStringLiteral(" ") : ToQString(text);
        const double h = measure.WrappedHeight(isBold ? bold : base, width, q);
        const auto [page, pageTop] = strip.Place(y, h);
        plan.Text.Items.push_back({page, QRectF(left, pageTop, width, h), q, isBold, true});
    };
    line("Corvelinscope Match Matrix Report", true);
    line("", false);
    line(FormatC("1st (\"this\") file: %s", texts.ThisPath.c_str()), false);
    line(FormatC("     Sample name: %s", texts.ThisSampleName.c_str()), false);
    line(FormatC("     Number of peaks: %li", texts.ThisPeakCount), false);
    line("", false);
    line(FormatC("2nd (\"other\") file: %s", texts.OtherPath.c_str()), false);
    line(FormatC("     Sample name: %s", texts.OtherSampleName.c_str()), false);
    line(FormatC("     Number of peaks: %li", texts.OtherPeakCount), false);
    line("", false);
    if (layout.PrintSearchOptions != 0)
        for (const CPrintLine& summary : options.PrintSummary())
            line(summary.Text, summary.Heading);

    const double pageHeight = strip.PageHeight();
    int page = static_cast<int>(std::floor(y / pageHeight));
    const double within = y - page * pageHeight;
    if (pageHeight - within >= kMatrixMinimumHeight) {
        plan.MatrixBox = QRectF(left, top + within, width, pageHeight - within);
    } else {
        ++page;
        const double side = std::min(width, pageHeight);
        plan.MatrixBox = QRectF(left, top, side, side);
    }
    plan.MatrixPage = page;
    plan.PageCount = page + 1;
    for (const CPrintItem& item : plan.Text.Items)
        plan.PageCount = std::max(plan.PageCount, item.Page + 1);
    plan.Text.PageCount = plan.PageCount;
    return plan;
}

void DrawMatchMatrixPage(QPainter& painter, const CMatrixPrintPlan& plan, int page, const CPageLayoutSettings& layout,
                         const CMatrixDisplay& display)
{
    DrawPrintPage(painter, plan.Text, page, layout);
    if (page != plan.MatrixPage)
        return;
    painter.save();
    painter.setFont(ReportBaseFont(layout));
    painter.setPen(Qt::black);
    const QRect box = plan.MatrixBox.toRect();
    painter.setClipRect(plan.MatrixBox);
    display.Draw(painter, box, true);
    painter.restore();
}

bool PrintMatchMatrixOn(QPrinter& printer, const QString& docName, const CMatrixReportTexts& texts,
                        const CSearchOptions& options, const CMatrixDisplay& display)
{
    printer.setDocName(docName);
    printer.setFullPage(true);
    const CPageLayoutSettings layout = CPageLayoutSettings::Load();
    const CMatrixPrintPlan plan = LayoutMatchMatrixReport(PaperMetricsOf(printer), layout, texts, options);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / 254.0; // device pixels per 0.1 mm
    for (int page = 0; page < plan.PageCount; ++page) {
        if (page > 0 && !printer.newPage()) {
            printer.abort();
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        DrawMatchMatrixPage(painter, plan, page, layout, display);
        painter.restore();
    }
    return painter.end();
}

bool WriteMatchMatrixReportPdf(const QString& pdfPath, const QString& docName, const CMatrixReportTexts& texts,
                               const CSearchOptions& options, const CMatrixDisplay& display)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    return PrintMatchMatrixOn(printer, docName, texts, options, display);
}

bool PrintMatchMatrixReport(QWidget* parent, const QString& docName, const CMatrixReportTexts& texts,
                            const CSearchOptions& options, const CMatrixDisplay& display, const QString& pdfPath)
{
    if (QPrinterInfo::defaultPrinter().isNull() && QPrinterInfo::availablePrinterNames().isEmpty()) {
        const bool written = WriteMatchMatrixReportPdf(pdfPath, docName, texts, options, display);
        if (written)
            Messages().ShowMessage("No printer is installed. The report was written to the file\n" +
                                       ToStdString(pdfPath),
                                   {}, MessageIcon::Information);
        return written;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintMatchMatrixOn(printer, docName, texts, options, display);
}

} // namespace corvelin
