#include "gui/plots/MultiChromatogramPlot.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "engine/options/SearchOptions.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

QColor PlotColour(std::uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

CMultiChromatogramPlot::CMultiChromatogramPlot(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(60, 60);
}

CMultiChromatogramPlot::~CMultiChromatogramPlot() = default;

int CMultiChromatogramPlot::AddChromatogram(const CLibraryChromatogram& chromatogram, const CPlotProperties* properties)
{
    const int count = m_model.Add(chromatogram, properties);
    update();
    return count;
}

bool CMultiChromatogramPlot::RemoveChromatogram(const std::string& name)
{
    const bool removed = m_model.Remove(name);
    update();
    return removed;
}

void CMultiChromatogramPlot::RemoveAll()
{
    m_model.RemoveAll();
    update();
}

void CMultiChromatogramPlot::Changed()
{
    update();
    emit ViewChanged();
}

void CMultiChromatogramPlot::SetView(double xMin, double yMinPercent, double xMax, double yMaxPercent)
{
    m_model.SetView(xMin, yMinPercent, xMax, yMaxPercent);
    Changed();
}

void CMultiChromatogramPlot::ShowFullScale()
{
    m_model.ShowFullScale();
    Changed();
}

void CMultiChromatogramPlot::ShowFullHeight()
{
    m_model.ShowFullHeight();
    Changed();
}

void CMultiChromatogramPlot::ShowFullRTRange()
{
    m_model.ShowFullRTRange();
    Changed();
}

void CMultiChromatogramPlot::MoveLeft()
{
    m_model.MoveLeft();
    Changed();
}

void CMultiChromatogramPlot::MoveRight()
{
    m_model.MoveRight();
    Changed();
}

CChromatogramPlotFrame CMultiChromatogramPlot::Frame() const
{
    const QFontMetrics metrics(parentWidget() != nullptr ? parentWidget()->font() : font());
    return LayoutChromatogramPlot(m_model, {0, 0, width(), height()}, metrics.height() + metrics.leading(),
                                  [&metrics](const std::string& text) {
                                      return static_cast<double>(metrics.horizontalAdvance(ToQString(text)));
                                  });
}

CPixelRect CMultiChromatogramPlot::PlotRect() const
{
    return Frame().TraceArea;
}

QPoint CMultiChromatogramPlot::PeakApex(int i, int p) const
{
    const CPlotMapping mapping = m_model.Mapping(i, PlotRect());
    const CLibraryChromatogramPeakData& peak = *m_model.Chromatogram(i).Peaks.at(p);
    return {mapping.XPixel(peak.RT), mapping.YPixel(peak.Height)};
}

bool CMultiChromatogramPlot::EditRICalibration(int i)
{
    if (i < 0 || i >= Count() || !m_editRICalibration)
        return false;
    CLibraryRICalibrationData table = m_model.Chromatogram(i).RICalibration;
    if (!m_editRICalibration(this, table))
        return false;
    m_model.Chromatogram(i).Recalibrate(table);
    update();
    return true;
}

void CMultiChromatogramPlot::OpenZoomMenu(const QPoint& globalPos)
{
    if (Count() == 0)
        return;
    QMenu menu(this);
    const std::pair<int, const char*> entries[] = {{kShowFullRTRange, "Show full &RT/RI range"},
                                                   {kShowFullHeight, "Show full &height range"},
                                                   {kShowFullScale, "Show full &scale"},
                                                   {kMoveLeft, "Move &Left "},
                                                   {kMoveRight, "Move &Right"},
                                                   {kRecalibrateRI, "Re&calibrate RI ..."}};
    for (const auto& [command, caption] : entries)
        menu.addAction(QString::fromLatin1(caption))->setData(command);
    if (const QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt());
}

void CMultiChromatogramPlot::RunCommand(int command)
{
    if (!m_hostHandlesRanges) {
        if (command == kShowFullScale)
            ShowFullScale();
        else if (command == kShowFullHeight)
            ShowFullHeight();
        else if (command == kShowFullRTRange)
            ShowFullRTRange();
    }
    emit CommandIssued(command);
}

void CMultiChromatogramPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QFont font = parentWidget() != nullptr ? parentWidget()->font() : this->font();
    painter.setFont(font);
    if (Count() == 0) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("This display will contain chromatograms."));
        return;
    }
    const CChromatogramPlotFrame frame = Frame();
    const CPixelRect plotRect = frame.TraceArea;
    const CPixelRect& cut = frame.TraceClip;
    painter.setClipRect(QRect(cut.Left, cut.Top, cut.Width(), cut.Height()));
    for (int i = 0; i < Count(); ++i) {
        const CPlotProperties& properties = m_model.Properties(i);
        painter.setPen(QPen(PlotColour(properties.Colour), properties.PenWidth, Qt::SolidLine));
        const CPlotMapping mapping = m_model.Mapping(i, plotRect);
        const int baseline = mapping.YPixel(0);
        QPolygon line;
        line << QPoint(plotRect.Left + 10, baseline);
        for (const auto& peak : m_model.Chromatogram(i).Peaks) {
            line << QPoint(mapping.XPixel(peak->StartRT), baseline)
                 << QPoint(mapping.XPixel(peak->RT), mapping.YPixel(peak->Height))
                 << QPoint(mapping.XPixel(peak->EndRT), baseline);
        }
        painter.drawPolyline(line);
    }

    painter.setClipRect(rect());
    const auto box = [](const CLabelBox& b) { return QRectF(b.Left, b.Top, b.Width, b.Height); };
    // Legends: one line each above the traces, right-aligned, in the chromatogram's colour.
    for (int i = 0; i < Count(); ++i) {
        painter.setPen(PlotColour(m_model.Properties(i).Colour));
        painter.drawText(box(frame.LegendLines[static_cast<std::size_t>(i)]), Qt::AlignRight | Qt::AlignTop,
                         ToQString(m_model.Chromatogram(i).SourcePath));
    }

    // Axes, by the first chromatogram's view; the numbers outside the traces.
    painter.setPen(Qt::black);
    const int left = plotRect.Left + 10, bottom = plotRect.Bottom - 10;
    painter.drawLine(left, bottom, plotRect.Right - 10, bottom);
    painter.drawLine(left, bottom, left, plotRect.Top + 10);
    for (const int x : frame.TimeTickX)
        painter.drawLine(x, bottom, x, bottom + 4);
    for (const int y : frame.HeightTickY)
        painter.drawLine(left - 6, y, left, y);
    for (const auto* texts : {&frame.TimeLabels, &frame.HeightLabels, &frame.Title})
        for (const CPlacedText& text : *texts)
            painter.drawText(box(text.Box), Qt::AlignCenter | Qt::TextDontClip, ToQString(text.Text));
}

void CMultiChromatogramPlot::mousePressEvent(QMouseEvent* event)
{
    if (!m_ownMouse || event->button() != Qt::LeftButton || Count() == 0) {
        event->ignore();
        return;
    }
    m_band.Press(event->position().toPoint());
}

void CMultiChromatogramPlot::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_band.Move(event->position().toPoint()))
        event->ignore();
}

void CMultiChromatogramPlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_ownMouse) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::RightButton) {
        if (rect().contains(event->position().toPoint()))
            OpenZoomMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !m_band.Release())
        return;
    const QPoint start = m_band.Start();
    const QPoint end = event->position().toPoint();
    if (m_model.Zoom({start.x(), start.y(), end.x(), end.y()}, PlotRect()))
        Changed();
}

} // namespace corvelin
