#include "gui/plots/MatrixDisplay.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <memory>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/views/ColorScheme.h"
#include "gui/plots/SpectrumThumbnails.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

namespace {

constexpr double kPrintScale = 254.0 / 75.0; // screen pixels at 75 per inch to 0.1 mm
constexpr int kTipMilliseconds = 15000;

QColor ToQColor(CSchemeColor c)
{
    return QColor(c.R, c.G, c.B);
}

QRectF Square(const CMatrixCircle& c)
{
    const CMatrixRect b = c.Bounds();
    return QRectF(b.Left, b.Top, b.Width(), b.Height());
}

} // namespace

CMatrixDisplay::CMatrixDisplay(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(false);
    setMinimumSize(120, 120);
    m_tip = new CHtmlToolTip(this);
    m_tip->SetDelays(500, kTipMilliseconds);
    m_tip->SetTextProvider([this](const QPoint& pos) { return ToStdString(ToolTextAt(pos)); });
    connect(m_tip, &CHtmlToolTip::LinkActivated, this, &CMatrixDisplay::linkActivated);
    m_thumbnails = std::make_unique<CSpectrumThumbnails>(m_tip->Pictures());
}

CMatrixDisplay::~CMatrixDisplay() = default;

void CMatrixDisplay::SetData(const CCellTable* cells, int rows, int columns, const CLibraryChromatogram* self,
                             const CLibraryChromatogram* other)
{
    m_tip->HideTip();
    m_thumbnails->Clear();
    m_this = self;
    m_other = other;
    if (cells && self && other)
        m_model.SetData(cells, rows, columns, self, other);
    else
        m_model.Clear();
    RebuildTools();
    update();
}

CMatrixRect CMatrixDisplay::Area() const
{
    const QRect r = rect();
    return {double(r.left()), double(r.top()), double(r.left() + r.width()), double(r.top() + r.height())};
}

void CMatrixDisplay::RebuildTools()
{
    m_tools.clear();
    if (!m_model.HasPeaks())
        return;
    const CMatrixDisplaySettings sizes = CMatrixDisplaySettings::Load();
    for (const CMatrixCircle& c : m_model.Layout(Area(), sizes.MinSize, sizes.SizeRange, 0).Circles)
        if (c.HasTool)
            m_tools.push_back(c);
}

void CMatrixDisplay::Draw(QPainter& painter, const QRect& rect, bool printing) const
{
    if (!m_model.HasData()) {
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kNoDataText));
        return;
    }
    if (!m_model.HasPeaks()) {
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kNoPeaksText));
        return;
    }
    const CMatrixDisplaySettings sizes = CMatrixDisplaySettings::Load();
    double minSize = sizes.MinSize;
    double sizeRange = sizes.SizeRange;
    if (printing) {
        minSize *= kPrintScale;
        sizeRange *= kPrintScale;
    }
    const CColorScheme scheme = CColorScheme::LoadCurrent(0);
    const int colorCount = static_cast<int>(scheme.Colors.size());
    const CMatrixRect area{double(rect.left()), double(rect.top()), double(rect.left() + rect.width()),
                           double(rect.top() + rect.height())};
    const CMatrixLayout layout = m_model.Layout(area, minSize, sizeRange, colorCount);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Axes.
    painter.setPen(QPen(Qt::black, 0));
    const QPointF origin(layout.OriginX, layout.OriginY);
    painter.drawLine(QPointF(area.Right - 5, origin.y()), origin);
    painter.drawLine(origin, QPointF(origin.x(), area.Bottom - 5));
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const CMatrixLayout::Tick& tick : layout.Ticks) {
        if (tick.OnX)
            painter.drawLine(QPointF(tick.X, origin.y() - 5), QPointF(tick.X, origin.y() + 5));
        if (tick.OnY)
            painter.drawLine(QPointF(origin.x() - 5, tick.Y), QPointF(origin.x() + 5, tick.Y));
    }
    const auto width = [&metrics](const std::string& text) { return metrics.horizontalAdvance(ToQString(text)); };
    for (const CPlacedText& text : MatrixAxisTexts(layout, area, metrics.height(), width)) {
        const CLabelBox& b = text.Box;
        painter.drawText(QRectF(b.Left, b.Top, b.Width, b.Height), Qt::AlignCenter | Qt::TextDontClip,
                         ToQString(text.Text));
    }
    // Circles, in the model's order.
    for (const CMatrixCircle& c : layout.Circles) {
        const QRectF box = Square(c);
        if (c.Type == CMatrixCircle::Assigned) {
            if (!c.Filled)
                continue;
            const QColor color =
                c.ColorIndex >= 0 ? ToQColor(scheme.Colors[static_cast<std::size_t>(c.ColorIndex)]) : QColor(Qt::black);
            painter.setPen(QPen(color, 0));
            painter.setBrush(color);
            painter.drawEllipse(box);
            continue;
        }
        const bool other = c.Type == CMatrixCircle::UnassignedOther;
        painter.setPen(QPen(ToQColor(other ? scheme.NotFoundOther : scheme.NotFoundThis), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box);
        if (other)
            painter.drawLine(QPointF(box.left(), c.Y), QPointF(box.right(), c.Y));
        else
            painter.drawLine(QPointF(c.X, box.top()), QPointF(c.X, box.bottom()));
    }
    painter.restore();
}

void CMatrixDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setFont(parentWidget() ? parentWidget()->font() : font());
    Draw(painter, rect(), false);
}

void CMatrixDisplay::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RebuildTools();
}

bool CMatrixDisplay::ZoomTo(const QRect& dragged)
{
    const QRect r = dragged.normalized();
    const CMatrixRect d{double(r.left()), double(r.top()), double(r.left() + r.width()), double(r.top() + r.height())};
    if (!m_model.HasPeaks() || !m_model.Zoom(d, Area()))
        return false;
    RebuildTools();
    update();
    return true;
}

void CMatrixDisplay::UndoZoom()
{
    m_model.UndoZoom();
    RebuildTools();
    update();
}

QMenu* CMatrixDisplay::CreateContextMenu()
{
    if (!m_model.HasData())
        return nullptr;
    auto* menu = new QMenu(this);
    QAction* undo = menu->addAction(QStringLiteral("Undo Zoom"), this, &CMatrixDisplay::UndoZoom);
    const bool zoomed = m_model.CanUndoZoom();
    undo->setEnabled(zoomed);
    if (zoomed)
        menu->setDefaultAction(undo);
    return menu;
}

void CMatrixDisplay::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(CreateContextMenu());
    if (menu)
        menu->exec(event->globalPos());
}

void CMatrixDisplay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_model.HasPeaks())
        return QWidget::mousePressEvent(event);
    m_dragStart = event->position().toPoint();
    m_dragging = true;
    if (!m_band)
        m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->setGeometry(QRect(m_dragStart, QSize()));
    m_band->show();
}

void CMatrixDisplay::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && m_band)
        m_band->setGeometry(QRect(m_dragStart, event->position().toPoint()).normalized());
    QWidget::mouseMoveEvent(event);
}

void CMatrixDisplay::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    if (m_band)
        m_band->hide();
    const QPoint end = event->position().toPoint();
    // A rectangle of w x h pixels spans from its first to its last pixel: the distance between the corners.
    ZoomTo(QRect(m_dragStart, QSize(end.x() - m_dragStart.x(), end.y() - m_dragStart.y())));
}

unsigned long CMatrixDisplay::PictureHandle(int side, int peak) const
{
    const CLibraryChromatogram* chromatogram = side == 1 ? m_this : m_other;
    const CLibraryChromatogramPeakData* data = chromatogram ? chromatogram->GetPeak(peak) : nullptr;
    if (!data || data->Spectrum.GetCount() == 0)
        return 0;
    return m_thumbnails->Handle(CSpectrumThumbnails::Key(side, peak), &data->Spectrum, FormatC("%.2f", data->RT));
}

QString CMatrixDisplay::ToolTextAt(const QPoint& pos) const
{
    for (auto it = m_tools.rbegin(); it != m_tools.rend(); ++it) {
        const CMatrixRect b = it->Bounds();
        if (pos.x() >= b.Left && pos.x() <= b.Right && pos.y() >= b.Top && pos.y() <= b.Bottom) {
            const auto picture = [this](int side, int peak) { return PictureHandle(side, peak); };
            return ToQString(m_model.ToolText(*it, picture));
        }
    }
    return {};
}

} // namespace corvelin
