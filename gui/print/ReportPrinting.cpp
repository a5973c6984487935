#include "gui/print/ReportPrinting.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <utility>

#include "engine/platform/MessageSink.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CPlannedReport::CPlannedReport(LayoutFn layout) : m_layoutFn(std::move(layout)), m_layout(CPageLayoutSettings::Load())
{
}

int CPlannedReport::Layout(const CPaperMetrics& paper)
{
    m_plan = m_layoutFn(paper, m_layout);
    return m_plan.PageCount;
}

void CPlannedReport::DrawPage(QPainter& painter, int page) const
{
    DrawPrintPage(painter, m_plan, page, m_layout);
}

bool PrintReportOn(QPrinter& printer, const QString& docName, CPrintableReport& report)
{
    printer.setDocName(docName);
    printer.setFullPage(true);
    const int pages = report.Layout(PaperMetricsOf(printer));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;                                  // a failed document start aborts the document
    const double scale = printer.resolution() / 254.0; // device pixels per 0.1 mm
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            printer.abort();
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        report.DrawPage(painter, page);
        painter.restore();
    }
    return painter.end();
}

bool WriteReportPdf(const QString& pdfPath, const QString& docName, CPrintableReport& report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    return PrintReportOn(printer, docName, report);
}

bool PrintReport(QWidget* parent, const QString& docName, CPrintableReport& report, bool batch, const QString& pdfPath)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull() && QPrinterInfo::availablePrinterNames().isEmpty()) {
        // A machine without printers gets the report as a PDF file.
        const bool written = WriteReportPdf(pdfPath, docName, report);
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
        return PrintReportOn(printer, docName, report);
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintReportOn(printer, docName, report);
}

} // namespace corvelin
