#include "gui/widgets/HtmlToolTip.h"

#include <QAbstractTextDocumentLayout>
#include <algorithm>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace corvelin {
namespace {

constexpr int kMargin = 4;
constexpr int kGraceMs = 400;
const QPoint kOffsetFromCursor(12, 16);

} // namespace

CHtmlToolTip::CHtmlToolTip(QWidget* host) : QWidget(host, Qt::ToolTip | Qt::FramelessWindowHint), m_host(host)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    m_document.setDocumentMargin(kMargin);
    m_showTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    m_graceTimer.setSingleShot(true);
    m_graceTimer.setInterval(kGraceMs);
    SetDelays(1500, 15000);
    connect(&m_showTimer, &QTimer::timeout, this, &CHtmlToolTip::ShowNow);
    connect(&m_hideTimer, &QTimer::timeout, this, &CHtmlToolTip::HideTip);
    connect(&m_graceTimer, &QTimer::timeout, this, &CHtmlToolTip::GraceOver);
    if (m_host != nullptr) {
        m_host->setMouseTracking(true);
        m_host->installEventFilter(this);
    }
}

CHtmlToolTip::~CHtmlToolTip()
{
    if (m_host != nullptr)
        m_host->removeEventFilter(this);
}

void CHtmlToolTip::WatchChild(QWidget* child)
{
    child->setMouseTracking(true);
    child->installEventFilter(this);
    m_children.push_back(child);
}

void CHtmlToolTip::SetDelays(int initialMs, int hideMs)
{
    m_showTimer.setInterval(initialMs);
    m_hideTimer.setInterval(hideMs);
}

std::string CHtmlToolTip::TextAt(const QPoint& hostPos) const
{
    for (const Tool& tool : m_tools)
        if (tool.Rect.contains(hostPos))
            return tool.Text;
    return m_provider ? m_provider(hostPos) : std::string();
}

void CHtmlToolTip::ShowText(const std::string& text, const QPoint& globalPos)
{
    if (text.empty()) {
        HideTip();
        return;
    }
    m_shownText = text;
    m_tip = TranslateTipHtml(text);
    m_document.clear();
    for (const CTipPicture& picture : m_tip.Pictures) {
        const QImage* image = m_pictures.Find(picture.Handle);
        QImage shown;
        if (image != nullptr && image->width() == picture.Width && image->height() == picture.Height) {
            shown = *image;
        } else if (image != nullptr) {
            shown = image->scaled(picture.Width, picture.Height);
        } else {
            shown = QImage(picture.Width, picture.Height, QImage::Format_RGB32);
            shown.fill(Qt::white);
        }
        m_document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("bmp:%1").arg(picture.Handle)), shown);
    }
    m_document.setDefaultFont(font());
    m_document.setHtml(m_tip.RichText);
    m_document.setTextWidth(-1);
    const QSize size = m_document.size().toSize() + QSize(2, 2);
    resize(size);

    QPoint topLeft = globalPos;
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() - size.width())));
        topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() - size.height())));
    }
    move(topLeft);
    show();
    update();
    m_hideTimer.start();
}

void CHtmlToolTip::HideTip()
{
    m_showTimer.stop();
    m_hideTimer.stop();
    m_graceTimer.stop();
    m_mouseInside = false;
    m_shownText.clear();
    hide();
}

const std::string* CHtmlToolTip::LinkAt(const QPoint& pos) const
{
    const QString anchor = m_document.documentLayout()->anchorAt(QPointF(pos) - QPointF(1, 1));
    return anchor.isEmpty() ? nullptr : TipLinkMessage(m_tip, anchor);
}

void CHtmlToolTip::ShowNow()
{
    if (m_host == nullptr || !m_host->isVisible())
        return;
    ShowText(TextAt(m_hostPos), m_host->mapToGlobal(m_hostPos) + kOffsetFromCursor);
}

void CHtmlToolTip::GraceOver()
{
    if (m_mouseInside || !isVisible())
        return;
    // Still over the host: keep the tip when the point shows the same text, else start over.
    if (m_mouseInHost) {
        if (TextAt(m_hostPos) == m_shownText)
            return;
        HideTip();
        m_showTimer.start();
        return;
    }
    HideTip();
}

bool CHtmlToolTip::eventFilter(QObject* watched, QEvent* event)
{
    const bool child = std::find(m_children.begin(), m_children.end(), watched) != m_children.end();
    if (watched != m_host && !child)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        // A move that a child passes on to the host is seen twice, in child and in host coordinates.
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QPoint hostPos = child ? static_cast<QWidget*>(watched)->mapTo(m_host, pos) : pos;
        if (hostPos == m_hostPos && m_mouseInHost && (isVisible() || m_showTimer.isActive()))
            break;
        m_mouseInHost = true;
        m_hostPos = hostPos;
        if (isVisible()) {
            if (!m_graceTimer.isActive())
                m_graceTimer.start();
        } else {
            m_showTimer.start();
        }
        break;
    }
    case QEvent::Leave:
        m_mouseInHost = false;
        m_showTimer.stop();
        if (isVisible() && !m_graceTimer.isActive())
            m_graceTimer.start();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::Hide:
        HideTip();
        break;
    case QEvent::ToolTip:
        return true; // this window replaces the plain tool-tip
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CHtmlToolTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(1, 1);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, palette().color(QPalette::ToolTipText));
    m_document.documentLayout()->draw(&painter, context);
}

void CHtmlToolTip::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(LinkAt(event->position().toPoint()) != nullptr ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CHtmlToolTip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const std::string* link = LinkAt(event->position().toPoint());
    if (link == nullptr)
        return;
    const QString message = QString::fromStdString(*link);
    HideTip();
    emit LinkActivated(message);
}

void CHtmlToolTip::enterEvent(QEnterEvent*)
{
    m_mouseInside = true;
    m_graceTimer.stop();
    m_hideTimer.stop();
}

void CHtmlToolTip::leaveEvent(QEvent*)
{
    if (m_mouseInside)
        HideTip();
}

} // namespace corvelin
