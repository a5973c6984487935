#include "gui/plots/RunPlot.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include "engine/views/PlotAxes.h"

namespace corvelin {

namespace {

QPolygon ToPolygon(const std::vector<CPixelPoint>& points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const CPixelPoint& p : points)
        polygon << QPoint(p.X, p.Y);
    return polygon;
}

} // namespace

CRunPlot::CRunPlot(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 80);
}

QColor CRunPlot::TraceColour(std::size_t i)
{
    static const QColor colours[] = {QColor(0, 128, 0), QColor(200, 100, 0), QColor(128, 0, 160), QColor(0, 140, 160),
                                     QColor(160, 120, 0)};
    return colours[i % (sizeof colours / sizeof colours[0])];
}

CPixelRect CRunPlot::PlotRect() const
{
    // Room for the height labels on the left and the time labels at the bottom.
    return {40, 4, width() - 4, height() - 18};
}

QPoint CRunPlot::PeakApex(int p) const
{
    const CPeakMarkPixels marks = m_model.Marks(static_cast<std::size_t>(p), PlotRect());
    return {marks.Apex.X, marks.Apex.Y};
}

void CRunPlot::SelectPeak(int peak)
{
    m_selected = peak;
    update();
}

void CRunPlot::ShowFullScale()
{
    m_model.ShowFullScale();
    update();
}

void CRunPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QFontMetrics metrics(font());
    if (m_model.IsEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("This display will contain the run's chromatogram."));
        return;
    }
    const CPixelRect r = PlotRect();
    const CPlotMapping mapping = m_model.Mapping(r);
    const QRect inner(r.Left + 10, r.Top + 10, r.Width() - 20, r.Height() - 20);

    // Axes and ticks: minutes below, percent of the run's largest TIC on the left.
    painter.setPen(Qt::black);
    painter.drawLine(inner.left(), inner.bottom(), inner.right(), inner.bottom());
    painter.drawLine(inner.left(), inner.bottom(), inner.left(), inner.top());
    for (const CAxisTick& tick : TimeAxisTicks(mapping.XMin, mapping.XMax)) {
        const int x = mapping.XPixel(tick.Value);
        painter.drawLine(x, inner.bottom(), x, inner.bottom() + 4);
        painter.drawText(QRect(x - 40, inner.bottom() + 4, 80, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromStdString(tick.Label));
    }
    const double full = m_model.FullRange().YMax;
    for (const CAxisTick& tick : HeightAxisTicks(m_model.BottomPercent(), m_model.TopPercent())) {
        const int y = mapping.YPixel(tick.Value * full / 100);
        painter.drawLine(inner.left() - 4, y, inner.left(), y);
        painter.drawText(QRect(0, y - metrics.height() / 2, inner.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(tick.Label));
    }

    painter.setClipRect(inner.adjusted(0, -10, 1, 1));
    // The selected peak's area under the TIC.
    if (m_selected >= 0 && static_cast<std::size_t>(m_selected) < m_model.Peaks().size()) {
        const CDetectedPeak& peak = m_model.Peaks()[static_cast<std::size_t>(m_selected)];
        QPolygon area;
        const int base = mapping.YPixel(0);
        area << QPoint(mapping.XPixel(m_model.Times()[peak.StartScan]), base);
        for (std::size_t s = peak.StartScan; s <= peak.EndScan; ++s)
            area << QPoint(mapping.XPixel(m_model.Times()[s]), mapping.YPixel(m_model.Tic()[s]));
        area << QPoint(mapping.XPixel(m_model.Times()[peak.EndScan]), base);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 200, 120));
        painter.drawPolygon(area);
        painter.setBrush(Qt::NoBrush);
    }
    for (std::size_t i = 0; i < m_model.IonTraces().size(); ++i) {
        painter.setPen(QPen(TraceColour(i), 1));
        painter.drawPolyline(ToPolygon(m_model.Polyline(static_cast<int>(i), r)));
    }
    painter.setPen(QPen(QColor(0, 0, 160), 1));
    painter.drawPolyline(ToPolygon(m_model.Polyline(-1, r)));

    // Peak marks: start and end as teal drop lines from the trace to the baseline (the integration limits), the
    // apex as a red triangle above the trace.
    const int baseline = mapping.YPixel(0);
    for (std::size_t p = 0; p < m_model.Peaks().size(); ++p) {
        const CPeakMarkPixels marks = m_model.Marks(p, r);
        if (marks.End.X < inner.left() - 4 || marks.Start.X > inner.right() + 4)
            continue;
        painter.setPen(QPen(QColor(0, 150, 150), 2));
        painter.drawLine(marks.Start.X, marks.Start.Y - 12, marks.Start.X, baseline);
        painter.drawLine(marks.End.X, marks.End.Y - 12, marks.End.X, baseline);
        const bool selected = static_cast<int>(p) == m_selected;
        painter.setPen(selected ? QColor(0, 0, 0) : QColor(200, 0, 0));
        painter.setBrush(selected ? QColor(255, 120, 0) : QColor(220, 0, 0));
        const QPoint a(marks.Apex.X, marks.Apex.Y - 2);
        painter.drawPolygon(QPolygon({a, a + QPoint(-4, -7), a + QPoint(4, -7)}));
        painter.setBrush(Qt::NoBrush);
    }
    painter.setClipping(false);

    // Legend: TIC and the masses, top right.
    int y = r.Top + 2;
    const auto legend = [&](const QColor& colour, const QString& text) {
        painter.setPen(colour);
        painter.drawText(QRect(r.Left, y, r.Width() - 4, metrics.height()), Qt::AlignRight | Qt::AlignTop, text);
        y += metrics.height();
    };
    legend(QColor(0, 0, 160), QStringLiteral("TIC, %1 peaks").arg(m_model.Peaks().size()));
    for (std::size_t i = 0; i < m_model.IonTraces().size(); ++i)
        legend(TraceColour(i), QStringLiteral("m/z %1").arg(m_model.IonTraces()[i].Mass));
}

void CRunPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_model.IsEmpty())
        return;
    m_pressPos = event->position().toPoint();
    m_tracking = true;
    if (!m_band)
        m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->setGeometry(QRect(m_pressPos, QSize()));
    m_band->show();
}

void CRunPlot::mouseMoveEvent(QMouseEvent* event)
{
    if (m_tracking && m_band)
        m_band->setGeometry(QRect(m_pressPos, event->position().toPoint()).normalized());
}

void CRunPlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    if (m_band)
        m_band->hide();
    const QPoint end = event->position().toPoint();
    const CPixelRect drag{m_pressPos.x(), m_pressPos.y(), end.x(), end.y()};
    if (m_model.Zoom(drag, PlotRect())) {
        update();
        return;
    }
    const int peak = m_model.HitPeak(end.x(), end.y(), PlotRect());
    if (peak >= 0) {
        SelectPeak(peak);
        emit PeakClicked(peak);
    }
}

void CRunPlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ShowFullScale();
}

void CRunPlot::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_model.IsEmpty())
        return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("Show full scale"), this, &CRunPlot::ShowFullScale);
    menu.exec(event->globalPos());
}

} // namespace corvelin
