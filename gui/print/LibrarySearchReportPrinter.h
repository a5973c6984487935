#pragma once
// The printed library search report, laid out in 0.1 mm units: title, the unknown's texts, the search options
// block, then the hit table with its columns in on-screen order, each at least 3 x its on-screen pixel width and
// at least as wide as its widest printed text; columns that do not fit the page's width continue in bands
// below, each repeating the "File" column. Control characters of cell texts print as blanks. The
// report is one continuous strip cut into pages of the text area's height; a line that would cross the
// bottom border starts on the next page, and the table keeps 2.5 base-font lines clear above it.
#include <QFont>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "engine/options/ProgramOptions.h"

class QPaintDevice;
class QPainter;
class QWidget;

namespace corvelin {
class CReportTable;
class CSearchOptions;

struct CSearchReportTexts {
    std::string UnknownPath;
    std::string SampleName;
    std::string PeakCountText;
};

// One text of the laid-out report: its page (0-based), its box in 0.1 mm from the paper's top-left corner.
struct CPrintItem {
    int Page = 0;
    QRectF Box;
    QString Text;
    bool Bold = false;
    bool Wrap = false;
};

struct CPrintPlan {
    std::vector<CPrintItem> Items;
    int PageCount = 1;
};

// Paper size and unprintable margins of the device, in 0.1 mm.
struct CPaperMetrics {
    double Width = 2100;
    double Height = 2970;
    double MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
};

// Lays the report out. The fonts are measured in 0.1 mm units (pixel size = points x 254 / 72).
CPrintPlan LayoutLibrarySearchReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                     const CSearchReportTexts& texts, const CSearchOptions& options,
                                     const CReportTable& hitList);
// Draws page `page` of the plan on a painter whose coordinates are 0.1 mm from the paper's corner.
void DrawPrintPage(QPainter& painter, const CPrintPlan& plan, int page, const CPageLayoutSettings& layout);

// The report fonts in 0.1 mm pixel units.
QFont ReportBaseFont(const CPageLayoutSettings& layout);
QFont ReportBoldFont(const CPageLayoutSettings& layout);

// Prints the report. batch: the default printer without a dialog; otherwise the print dialog (no page range,
// selection or file). Without any printer the report goes to the PDF file pdfPath (batch and interactive;
// interactively the user is told where it went). Returns whether something was printed or written.
bool PrintLibrarySearchReport(QWidget* parent, const CSearchReportTexts& texts, const CSearchOptions& options,
                              const CReportTable& hitList, bool batch, const QString& pdfPath);
// Writes the report as a PDF file (A4), the device of a machine without printers.
bool WriteLibrarySearchReportPdf(const QString& pdfPath, const CSearchReportTexts& texts, const CSearchOptions& options,
                                 const CReportTable& hitList);

} // namespace corvelin
