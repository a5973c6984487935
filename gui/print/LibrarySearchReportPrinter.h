#pragma once
// The printed library search report, laid out in 0.1 mm units: title, the unknown's texts, the search options
// block, then the hit table (gui/print/ReportTablePrint.h; its bands repeat the "File" column). The report is
// one continuous strip cut into pages of the text area's height less the footer; a line that would cross the
// bottom starts on the next page. Every page carries the footer (date, program version, "Page n of m").
#include <QString>
#include <string>

#include "gui/print/PrintLayout.h"

class QWidget;

namespace corvelin {
class CReportTable;
class CSearchOptions;

struct CSearchReportTexts {
    std::string UnknownPath;
    std::string SampleName;
    std::string PeakCountText;
};

// Lays the report out; date is what the footer says.
CPrintPlan LayoutLibrarySearchReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                     const CSearchReportTexts& texts, const CSearchOptions& options,
                                     const CReportTable& hitList, const QString& date = ReportDate());

// Prints the report. batch: the default printer without a dialog; otherwise the print dialog (no page range,
// selection or file). Without any printer the report goes to the PDF file pdfPath (batch and interactive;
// interactively the user is told where it went). Returns whether something was printed or written.
bool PrintLibrarySearchReport(QWidget* parent, const CSearchReportTexts& texts, const CSearchOptions& options,
                              const CReportTable& hitList, bool batch, const QString& pdfPath);
// Writes the report as a PDF file (A4), the device of a machine without printers.
bool WriteLibrarySearchReportPdf(const QString& pdfPath, const CSearchReportTexts& texts, const CSearchOptions& options,
                                 const CReportTable& hitList);

} // namespace corvelin
