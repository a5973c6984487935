#pragma once
// The pieces every printed report is laid out with, in 0.1 mm units: text measuring with the report fonts, the
// continuous strip that is cut into pages, and the paper metrics of a printer.
#include <QImage>
#include <utility>

class QFont;
class QPrinter;
class QString;

namespace corvelin {

struct CPaperMetrics;

inline constexpr double kPrintUnitsPerMm = 10.0;

// Measures texts in 0.1 mm units: pixel-sized fonts on a 254 dpi image, where one pixel is 0.1 mm.
class CTextMeasure {
public:
    CTextMeasure();
    double LineHeight(const QFont& font) const;
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

// Paper size and unprintable margins of the printer, in 0.1 mm.
CPaperMetrics PaperMetricsOf(const QPrinter& printer);

} // namespace corvelin
