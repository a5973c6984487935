#pragma once
// The printed match matrix report, in 0.1 mm units: bold title, the two files with sample name and peak count,
// the forward and reverse match, the search options block (when "PrintSearchOptions" is on), then the matrix
// display with its colour legend under it: in the rest of the page when at least 60 mm remain above the footer,
// otherwise as a square (the smaller of the text area's width and height) at the top of the next page. Every
// page carries the footer (date, program version, "Page n of m").
#include <QRectF>
#include <QString>
#include <string>

#include "gui/print/PrintLayout.h"

class QPainter;
class QPrinter;
class QWidget;

namespace corvelin {

class CMatrixDisplay;
class CSearchOptions;

struct CMatrixReportTexts {
    std::string ThisPath;
    std::string ThisSampleName;
    long ThisPeakCount = 0;
    std::string OtherPath;
    std::string OtherSampleName;
    long OtherPeakCount = 0;
    // The overall matches (printed when Forward is not negative) with their matched and considered peaks.
    double Forward = -1;
    int ForwardMatched = 0;
    int ForwardConsidered = 0;
    double Reverse = -1;
    int ReverseMatched = 0;
    int ReverseConsidered = 0;
};

struct CMatrixPrintPlan {
    CPrintPlan Text;
    int MatrixPage = 0;
    QRectF MatrixBox; // 0.1 mm from the paper's corner
    QRectF LegendBox; // the colour strip with its numbers, under the matrix on the same page
    int PageCount = 1;
};

inline constexpr double kMatrixMinimumHeight = 600; // 60 mm

// The legend's height: a 5 mm strip, a base-font line for its numbers and 2 mm above it.
double MatrixLegendHeight(const CPageLayoutSettings& layout);

CMatrixPrintPlan LayoutMatchMatrixReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                         const CMatrixReportTexts& texts, const CSearchOptions& options,
                                         const QString& date = ReportDate());

// Draws page `page` (texts and, on its page, the matrix clipped to its box) on a painter in 0.1 mm units.
void DrawMatchMatrixPage(QPainter& painter, const CMatrixPrintPlan& plan, int page, const CPageLayoutSettings& layout,
                         const CMatrixDisplay& display);

// The report as an A4 PDF file, the device of a machine without printers.
bool WriteMatchMatrixReportPdf(const QString& pdfPath, const QString& docName, const CMatrixReportTexts& texts,
                               const CSearchOptions& options, const CMatrixDisplay& display);
// The print dialog (no page range, selection or print to file), then the report; without any printer the
// report goes to pdfPath and the user is told so. Returns whether something was printed or written.
bool PrintMatchMatrixReport(QWidget* parent, const QString& docName, const CMatrixReportTexts& texts,
                            const CSearchOptions& options, const CMatrixDisplay& display, const QString& pdfPath);

} // namespace corvelin
