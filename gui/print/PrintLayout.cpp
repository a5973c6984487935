#include "gui/print/PrintLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <cmath>

#include "gui/print/LibrarySearchReportPrinter.h"

namespace corvelin {

CTextMeasure::CTextMeasure() : m_image(1, 1, QImage::Format_RGB32)
{
    m_image.setDotsPerMeterX(10000);
    m_image.setDotsPerMeterY(10000);
}

double CTextMeasure::LineHeight(const QFont& font) const
{
    return QFontMetricsF(font, &m_image).lineSpacing();
}

double CTextMeasure::WrappedHeight(const QFont& font, double width, const QString& text) const
{
    const QRectF box =
        QFontMetricsF(font, &m_image).boundingRect(QRectF(0, 0, width, 1e7), Qt::TextWordWrap | Qt::AlignLeft, text);
    return std::max(box.height(), LineHeight(font));
}

CStrip::CStrip(double top, double pageHeight) : m_top(top), m_height(std::max(pageHeight, 1.0)) {}

std::pair<int, double> CStrip::Place(double& y, double h, double clear) const
{
    int page = static_cast<int>(std::floor(y / m_height));
    double within = y - page * m_height;
    if (within > 0 && within + h > m_height - clear) {
        ++page;
        within = 0;
        y = page * m_height;
    }
    const auto result = std::make_pair(page, m_top + within);
    y += h;
    return result;
}

CPaperMetrics PaperMetricsOf(const QPrinter& printer)
{
    CPaperMetrics paper;
    const QRectF full = printer.pageLayout().fullRect(QPageLayout::Millimeter);
    paper.Width = full.width() * kPrintUnitsPerMm;
    paper.Height = full.height() * kPrintUnitsPerMm;
    const QMarginsF minimum = printer.pageLayout().minimumMargins();
    const double toMm = printer.pageLayout().units() == QPageLayout::Millimeter ? 1.0 : 25.4 / 72.0;
    paper.MarginLeft = minimum.left() * toMm * kPrintUnitsPerMm;
    paper.MarginTop = minimum.top() * toMm * kPrintUnitsPerMm;
    paper.MarginRight = minimum.right() * toMm * kPrintUnitsPerMm;
    paper.MarginBottom = minimum.bottom() * toMm * kPrintUnitsPerMm;
    return paper;
}

} // namespace corvelin
