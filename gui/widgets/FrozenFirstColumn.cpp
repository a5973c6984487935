#include "gui/widgets/FrozenFirstColumn.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include "gui/widgets/OdorListCtrl.h"

namespace corvelin {

CFrozenFirstColumn::CFrozenFirstColumn(COdorListCtrl* list) : QTreeView(list), m_list(list)
{
    setModel(list->model());
    setSelectionModel(list->selectionModel());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(list->selectionMode());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(list->alternatingRowColors());
    setTextElideMode(list->textElideMode());
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(list->header()->defaultAlignment());

    connect(verticalScrollBar(), &QScrollBar::valueChanged, list->verticalScrollBar(), &QScrollBar::setValue);
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(list->header(), &QHeaderView::sectionResized, this, &CFrozenFirstColumn::Follow);
    connect(list->header(), &QHeaderView::sectionMoved, this, &CFrozenFirstColumn::Follow);
    connect(list->model(), &QAbstractItemModel::modelReset, this, &CFrozenFirstColumn::Follow);
    connect(list->model(), &QAbstractItemModel::rowsInserted, this, &CFrozenFirstColumn::Follow);
    connect(list->model(), &QAbstractItemModel::rowsRemoved, this, &CFrozenFirstColumn::Follow);
    connect(list->model(), &QAbstractItemModel::columnsInserted, this, &CFrozenFirstColumn::Follow);
    connect(list->model(), &QAbstractItemModel::columnsRemoved, this, &CFrozenFirstColumn::Follow);
    list->installEventFilter(this);
    Follow();
}

int CFrozenFirstColumn::FrozenColumn() const
{
    const QHeaderView* head = m_list->header();
    for (int visual = 0; visual < head->count(); ++visual)
        if (const int logical = head->logicalIndex(visual); !head->isSectionHidden(logical))
            return logical;
    return -1;
}

void CFrozenFirstColumn::Follow()
{
    const int frozen = FrozenColumn();
    if (frozen < 0 || m_list->model()->rowCount() == 0) {
        hide();
        return;
    }
    for (int c = 0; c < model()->columnCount(); ++c)
        setColumnHidden(c, c != frozen);
    const int width = m_list->header()->sectionSize(frozen);
    header()->resizeSection(frozen, width);
    const int frame = m_list->frameWidth();
    setGeometry(frame, frame, width, m_list->viewport()->height() + m_list->header()->height());
    verticalScrollBar()->setValue(m_list->verticalScrollBar()->value());
    show();
    raise();
}

bool CFrozenFirstColumn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        Follow();
    return QTreeView::eventFilter(watched, event);
}

} // namespace corvelin
