#include "gui/plots/ColorScale.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/views/ColorScaleLegend.h"
#include "engine/views/ColorScheme.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"

namespace corvelin {

CColorScale::CColorScale(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(8);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

std::vector<int> CColorScale::BandEdges(int left, int width, int n)
{
    return ColorBandEdges(left, width, n);
}

QSize CColorScale::sizeHint() const
{
    return {200, 14 + fontMetrics().height()};
}

void CColorScale::Draw(QPainter& painter, const QRect& rect)
{
    const CColorScheme scheme = CColorScheme::LoadCurrent(0);
    const int n = static_cast<int>(scheme.Colors.size());
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const int stripHeight = std::max(1, rect.height() - static_cast<int>(std::ceil(line)));
    const CColorScaleLegend legend =
        LayoutColorScale(n, rect.left(), rect.width(), rect.top() + stripHeight, line,
                         [&metrics](const std::string& text) { return metrics.horizontalAdvance(ToQString(text)); });
    for (int i = 0; i < n; ++i) {
        const CSchemeColor c = scheme.Colors[static_cast<std::size_t>(i)];
        painter.fillRect(QRect(legend.Edges[i], rect.top(), legend.Edges[i + 1] - legend.Edges[i], stripHeight),
                         QColor(c.R, c.G, c.B));
    }
    for (const CPlacedText& number : legend.Numbers) {
        const CLabelBox& b = number.Box;
        painter.drawText(QRectF(b.Left, b.Top, b.Width, b.Height), Qt::AlignCenter | Qt::TextDontClip,
                         ToQString(number.Text));
    }
}

void CColorScale::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    Draw(painter, rect());
}

QMenu* CColorScale::CreateSchemeMenu()
{
    CWaitCursor wait;
    auto* menu = new QMenu(this);
    for (const CColorSchemeChoice& choice : ColorSchemeChoices()) {
        QAction* action = menu->addAction(ToQString(choice.Name));
        action->setData(kFirstSchemeCommand + choice.Index);
        action->setCheckable(true);
        action->setChecked(choice.Current);
    }
    return menu;
}

void CColorScale::OnSchemeCommand(int command)
{
    if (command < kFirstSchemeCommand)
        return;
    {
        CWaitCursor wait;
        SelectColorScheme(command - kFirstSchemeCommand);
    }
    update();
    if (parentWidget())
        parentWidget()->update();
    emit schemeChanged();
}

void CColorScale::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(CreateSchemeMenu());
    if (QAction* chosen = menu->exec(event->globalPos()))
        OnSchemeCommand(chosen->data().toInt());
}

} // namespace corvelin
