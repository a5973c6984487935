#include "gui/pages/PlotToolBar.h"

#include <QStyle>

namespace corvelin {
namespace {

// "tip\nstatus text": the tip shows on hover, the status text in a status bar.
QAction* AddButton(QToolBar& bar, QStyle::StandardPixmap icon, const char* texts)
{
    const QStringList parts = QString::fromLatin1(texts).split(QLatin1Char('\n'));
    QAction* action = bar.addAction(bar.style()->standardIcon(icon), parts.value(0));
    action->setToolTip(parts.value(0));
    action->setStatusTip(parts.value(1));
    return action;
}

} // namespace

CPlotToolBar::CPlotToolBar(QWidget* parent) : QToolBar(parent)
{
    setIconSize(QSize(16, 16));
    m_moveLeft = AddButton(*this, QStyle::SP_ArrowLeft, "Move Left\nMove Left");
    m_fullRTRange = AddButton(*this, QStyle::SP_TitleBarMaxButton, "Full RT range\nShow whole RT range");
    m_moveRight = AddButton(*this, QStyle::SP_ArrowRight, "");
    addSeparator();
    m_fullHeight = AddButton(*this, QStyle::SP_ArrowUp, "100% Height\nShow 0 ... 100 % intensity");
    m_resetScale = AddButton(*this, QStyle::SP_BrowserReload, "Reset scale\nReset scale");
}

void CPlotToolBar::SetButtonsEnabled(bool enabled)
{
    for (QAction* action : {m_moveLeft, m_fullRTRange, m_moveRight, m_fullHeight, m_resetScale})
        action->setEnabled(enabled);
}

} // namespace corvelin
