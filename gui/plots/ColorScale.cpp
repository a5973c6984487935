#include "gui/plots/ColorScale.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <cmath>
#include <memory>

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
    std::vector<int> edges;
    if (n < 1)
        return edges;
    const double band = static_cast<double>(width) / n;
    for (int i = 0; i <= n; ++i)
        edges.push_back(left + static_cast<int>(std::trunc(band * i)));
    return edges;
}

void CColorScale::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CColorScheme scheme = CColorScheme::LoadCurrent(0);
    const int n = static_cast<int>(scheme.Colors.size());
    const QRect area = rect();
    const std::vector<int> edges = BandEdges(area.left(), area.width(), n);
    for (int i = 0; i < n; ++i) {
        const CSchemeColor c = scheme.Colors[static_cast<std::size_t>(i)];
        painter.fillRect(QRect(edges[i], area.top(), edges[i + 1] - edges[i], area.height()), QColor(c.R, c.G, c.B));
    }
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
