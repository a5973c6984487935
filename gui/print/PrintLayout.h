#pragma once
// The pieces every printed report is laid out with, in 0.1 mm units: the paper and its text area, the report
// fonts, text measuring, the continuous strip that is cut into pages, the laid-out texts of a report and the
// footer every page carries (date, program version, "Page n of m").
#include <QImage>
#include <QRectF>
#include <QString>
#include <utility>
#include <vector>

#include "engine/options/ProgramOptions.h"

class QFont;
class QPainter;
class QPrinter;

namespace corvelin {

inline constexpr double kPrintUnitsPerMm = 10.0;

// Paper size and unprintable margins of the device, in 0.1 mm.
struct CPaperMetrics {
    double Width = 2100;
    double Height = 2970;
    double MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
};

// One text of the laid-out report: its page (0-based), its box in 0.1 mm from the paper's top-left corner.
struct CPrintItem {
    int Page = 0;
    QRectF Box;
    QString Text;
    bool Bold = false;
    bool Wrap = false;
    bool AlignRight = false;
    bool Repeat = false; // a table header repeated at the top of a continued page
};

struct CPrintPlan {
    std::vector<CPrintItem> Items;
    int PageCount = 1;
};

// The report fonts in 0.1 mm pixel units (pixel size = points x 254 / 72).
QFont ReportBaseFont(const CPageLayoutSettings& layout);
QFont ReportBoldFont(const CPageLayoutSettings& layout);

// Measures texts in 0.1 mm units: pixel-sized fonts on a 254 dpi image, where one pixel is 0.1 mm.
class CTextMeasure {
public:
    CTextMeasure();
    double LineHeight(const QFont& font) const;
    double Width(const QFont& font, const QString& text) const;
    double WrappedHeight(const QFont& font, double width, const QString& text) const;

private:
    QImage m_image;
};

// The strip: a vertical position running through all pages, cut into pages of the text area's height.
class CStrip {
public:
    CStrip(double top, double pageHeight);
    // Places a block of height h with at least `clear` units kept free above the page's bottom; returns its
    // page and its top on that page, and advances y past it.
    std::pair<int, double> Place(double& y, double h, double clear = 0) const;
    double PageHeight() const noexcept { return m_height; }

private:
    double m_top;
    double m_height;
};

// The text area: the paper less the borders, each at least the device's unprintable margin.
QRectF ReportTextArea(const CPaperMetrics& paper, const CPageLayoutSettings& layout);
// The height kept free at the bottom of the text area for the footer: one base-font line and 2 mm above it.
double ReportFooterHeight(const CPageLayoutSettings& layout);
// The text area less the footer: what a report's strip is cut from.
CStrip ReportStrip(const CPaperMetrics& paper, const CPageLayoutSettings& layout);
// Today's date as the footer writes it (ISO 8601).
QString ReportDate();
// The left footer text: "Printed <date> by Corvelinscope <version>".
QString ReportFooterText(const QString& date);

// Sets the page count (the last page holding an item, at least minimumPages) and adds the footer to every page
// on the text area's last line: ReportFooterText on the left, "Page n of m" on the right.
void FinishReportPages(CPrintPlan& plan, int minimumPages, const QRectF& textArea, const CPageLayoutSettings& layout,
                       const QString& date);

// Draws page `page` of the plan on a painter whose coordinates are 0.1 mm from the paper's corner.
void DrawPrintPage(QPainter& painter, const CPrintPlan& plan, int page, const CPageLayoutSettings& layout);

// Paper size and unprintable margins of the printer, in 0.1 mm.
CPaperMetrics PaperMetricsOf(const QPrinter& printer);

} // namespace corvelin
