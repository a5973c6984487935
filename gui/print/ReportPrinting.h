#pragma once
// Printing a laid-out report, written once for every report: on a printer chosen in the print dialog (no page
// range, selection or print to file), on the default printer without a dialog (batch runs), or as an A4 PDF
// file, the device of a machine without printers.
#include <QString>
#include <functional>

#include "gui/print/PrintLayout.h"

class QPainter;
class QPrinter;
class QWidget;

namespace corvelin {

// A report as the printing functions see it.
class CPrintableReport {
public:
    virtual ~CPrintableReport() = default;
    // Lays the report out for the paper; returns its page count.
    virtual int Layout(const CPaperMetrics& paper) = 0;
    // Draws a laid-out page on a painter in 0.1 mm units from the paper's corner.
    virtual void DrawPage(QPainter& painter, int page) const = 0;
};

// A report whose pages are one plan of texts: laid out by layout with the stored page layout settings.
class CPlannedReport : public CPrintableReport {
public:
    using LayoutFn = std::function<CPrintPlan(const CPaperMetrics&, const CPageLayoutSettings&)>;
    explicit CPlannedReport(LayoutFn layout);
    int Layout(const CPaperMetrics& paper) override;
    void DrawPage(QPainter& painter, int page) const override;

private:
    LayoutFn m_layoutFn;
    CPageLayoutSettings m_layout;
    CPrintPlan m_plan;
};

// Prints every page on a set-up printer (document name docName, full page). False when the document could not
// be started or a page could not be ended (the document is then aborted).
bool PrintReportOn(QPrinter& printer, const QString& docName, CPrintableReport& report);
// The report as an A4 PDF file.
bool WriteReportPdf(const QString& pdfPath, const QString& docName, CPrintableReport& report);
// batch: the default printer without a dialog; otherwise the print dialog. Without any printer the report goes
// to pdfPath (interactively the user is told where it went). Returns whether something was printed or written.
bool PrintReport(QWidget* parent, const QString& docName, CPrintableReport& report, bool batch, const QString& pdfPath);

} // namespace corvelin
