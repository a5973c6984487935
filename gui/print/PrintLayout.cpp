#include "gui/print/PrintLayout.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "gui/widgets/QtText.h"

namespace corvelin {

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

CTextMeasure::CTextMeasure() : m_image(1, 1, QImage::Format_RGB32)
{
    m_image.setDotsPerMeterX(10000);
    m_image.setDotsPerMeterY(10000);
}

double CTextMeasure::LineHeight(const QFont& font) const
{
    return QFontMetricsF(font, &m_image).lineSpacing();
}

double CTextMeasure::Width(const QFont& font, const QString& text) const
{
    return QFontMetricsF(font, &m_image).horizontalAdvance(text);
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

QRectF ReportTextArea(const CPaperMetrics& paper, const CPageLayoutSettings& layout)
{
    const double left = std::max(layout.BorderLeft * kPrintUnitsPerMm, paper.MarginLeft);
    const double top = std::max(layout.BorderTop * kPrintUnitsPerMm, paper.MarginTop);
    const double right = paper.Width - std::max(layout.BorderRight * kPrintUnitsPerMm, paper.MarginRight);
    const double bottom = paper.Height - std::max(layout.BorderBottom * kPrintUnitsPerMm, paper.MarginBottom);
    return QRectF(left, top, std::max(right - left, 1.0), std::max(bottom - top, 1.0));
}

double ReportFooterHeight(const CPageLayoutSettings& layout)
{
    return CTextMeasure().LineHeight(ReportBaseFont(layout)) + 2 * kPrintUnitsPerMm;
}

CStrip ReportStrip(const CPaperMetrics& paper, const CPageLayoutSettings& layout)
{
    const QRectF area = ReportTextArea(paper, layout);
    return CStrip(area.top(), area.height() - ReportFooterHeight(layout));
}

QString ReportDate()
{
    return QDate::currentDate().toString(Qt::ISODate);
}

QString ReportFooterText(const QString& date)
{
    return QStringLiteral("Printed %1 by Corvelinscope %2")
        .arg(date, QStringLiteral(CORVELIN_PRODUCT_VERSION).trimmed());
}

void FinishReportPages(CPrintPlan& plan, int minimumPages, const QRectF& textArea, const CPageLayoutSettings& layout,
                       const QString& date)
{
    plan.PageCount = std::max(minimumPages, 1);
    for (const CPrintItem& item : plan.Items)
        plan.PageCount = std::max(plan.PageCount, item.Page + 1);
    const double line = CTextMeasure().LineHeight(ReportBaseFont(layout));
    const QRectF box(textArea.left(), textArea.bottom() - line, textArea.width(), line);
    const QString left = ReportFooterText(date);
    for (int page = 0; page < plan.PageCount; ++page) {
        plan.Items.push_back({page, box, left, false, true});
        CPrintItem number{page, box, QStringLiteral("Page %1 of %2").arg(page + 1).arg(plan.PageCount), false, true};
        number.AlignRight = true;
        plan.Items.push_back(number);
    }
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
        const int flags = (item.AlignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop |
                          (item.Wrap ? Qt::TextWordWrap : Qt::TextDontClip);
        painter.drawText(item.Box, flags, item.Text);
    }
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
