#include "gui/widgets/OdorListCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "gui/widgets/QtText.h"
#include "engine/table/ColumnArrangement.h"
#include "gui/widgets/ColumnArrange.h"
#include "gui/widgets/ReportTableModel.h"

namespace corvelin {

COdorListCtrl::COdorListCtrl(QWidget* parent) : QTreeView(parent)
{
    m_model = new CReportTableModel(m_table, this);
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setSortingEnabled(false);
    setTextElideMode(Qt::ElideRight);

    QHeaderView* head = header();
    head->setSectionsMovable(true);
    head->setSectionsClickable(true);
    head->setStretchLastSection(false);
    head->setSortIndicatorShown(false);
    head->setMinimumSectionSize(1);
    head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(head, &QHeaderView::sectionClicked, this, &COdorListCtrl::columnHeaderClicked);
    connect(head, &QHeaderView::sectionResized, this, &COdorListCtrl::OnSectionResized);
    connect(head, &QHeaderView::sectionMoved, this, &COdorListCtrl::OnSectionMoved);
    head->viewport()->installEventFilter(this);

    connect(m_model, &CReportTableModel::columnsArranged, this, &COdorListCtrl::SyncHeader);
    connect(m_model, &CReportTableModel::rowsReordered, this, &COdorListCtrl::ApplySelectionFromTable);
    connect(m_model, &CReportTableModel::modelReset, this, &COdorListCtrl::ApplySelectionFromTable);
    connect(m_model, &CReportTableModel::emptyTextChanged, viewport(), qOverload<>(&QWidget::update));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &COdorListCtrl::OnSelectionChanged);
}

COdorListCtrl::~COdorListCtrl() = default;

void COdorListCtrl::SuspendRedraw()
{
    if (m_redrawDepth++ == 0) {
        setUpdatesEnabled(false);
        header()->setUpdatesEnabled(false);
    }
}

void COdorListCtrl::ResumeRedraw()
{
    if (m_redrawDepth == 0)
        return;
    if (--m_redrawDepth == 0) {
        header()->setUpdatesEnabled(true);
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

void COdorListCtrl::Sort(const CSortKey& key1, const CSortKey& key2, const CSortKey& key3)
{
    SuspendRedraw();
    try {
        m_table.Sort(key1, key2, key3);
    } catch (...) {
        ResumeRedraw();
        throw;
    }
    MarkSortColumns(key1);
    ResumeRedraw();
}

void COdorListCtrl::MarkSortColumns(const CSortKey& key1)
{
    QHeaderView* head = header();
    if (key1.Column == 0) {
        head->setSortIndicatorShown(false);
        return;
    }
    const int column = std::abs(key1.Column) - 1;
    head->setSortIndicatorShown(true);
    head->setSortIndicator(column, key1.Column < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

int COdorListCtrl::TextWidth(const std::string& text) const
{
    // The cell's text plus the margins the item delegate draws around it.
    return fontMetrics().horizontalAdvance(ToQString(text)) + 12;
}

void COdorListCtrl::AutoSizeColumns(int first, bool withHeaders)
{
    SuspendRedraw();
    m_table.AutoSizeColumns(first, withHeaders, [this](const std::string& text) { return TextWidth(text); });
    ResumeRedraw();
}

void COdorListCtrl::FitColumnsToContent()
{
    if (!m_section.empty() && HasStoredArrangement(m_section))
        return;
    SuspendRedraw();
    // The header needs its margins and the room of a sort mark besides its text.
    const QStyle* look = header()->style();
    const int headerExtra = 2 * look->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header()) +
                            look->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header()) + 8;
    for (int c = 0; c < m_table.ColumnCount(); ++c) {
        if (!m_table.IsVisible(c))
            continue;
        m_table.AutoSizeColumns(c, true, [this](const std::string& text) { return TextWidth(text); });
        const int headerWidth = header()->fontMetrics().horizontalAdvance(ToQString(m_table.Header(c))) + headerExtra;
        if (m_table.Width(c) < headerWidth)
            m_table.SetWidth(c, headerWidth);
    }
    SyncHeader();
    ResumeRedraw();
}

bool COdorListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_headerDragged = false;
        else if (event->type() == QEvent::MouseButtonRelease && m_headerDragged) {
            m_headerDragged = false;
            if (!m_section.empty())
                SaveArrangement(m_table, m_section);
        }
    }
    return QTreeView::eventFilter(watched, event);
}

void COdorListCtrl::ApplyStoredArrangement(const std::string& section)
{
    corvelin::ApplyStoredArrangement(m_table, section);
    SyncHeader();
}

void COdorListCtrl::OpenArrangementDialog(const std::string& section)
{
    CColumnArrange dialog(m_table, section, this);
    if (dialog.exec() == QDialog::Accepted)
        SyncHeader();
}

void COdorListCtrl::SelectRows(const std::vector<int>& rows)
{
    for (int r = 0; r < m_table.RowCount(); ++r)
        m_table.SetSelected(r, false);
    for (int r : rows)
        if (r >= 0 && r < m_table.RowCount())
            m_table.SetSelected(r, true);
    ApplySelectionFromTable();
}

void COdorListCtrl::SyncHeader()
{
    if (m_syncing)
        return;
    m_syncing = true;
    QHeaderView* head = header();
    const int count = std::min(m_table.ColumnCount(), head->count());
    for (int c = 0; c < count; ++c) {
        const int width = m_table.Width(c);
        head->setSectionHidden(c, width <= 0);
        if (width > 0)
            head->resizeSection(c, width);
    }
    const std::vector<int>& order = m_table.DisplayOrder();
    for (int visual = 0; visual < static_cast<int>(order.size()) && visual < head->count(); ++visual) {
        const int from = head->visualIndex(order[static_cast<std::size_t>(visual)]);
        if (from != visual && from >= 0)
            head->moveSection(from, visual);
    }
    m_syncing = false;
    viewport()->update();
}

void COdorListCtrl::ApplySelectionFromTable()
{
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelection selection;
    const int lastColumn = m_model->columnCount() - 1;
    for (int r = 0; r < m_table.RowCount() && lastColumn >= 0; ++r)
        if (m_table.IsSelected(r))
            selection.select(m_model->index(r, 0), m_model->index(r, lastColumn));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void COdorListCtrl::OnSectionResized(int logical, int, int newSize)
{
    if (m_syncing || logical < 0 || logical >= m_table.ColumnCount() || header()->isSectionHidden(logical))
        return;
    m_syncing = true;
    m_table.SetWidth(logical, newSize);
    m_syncing = false;
    m_headerDragged = true;
}

void COdorListCtrl::OnSectionMoved()
{
    if (m_syncing)
        return;
    QHeaderView* head = header();
    std::vector<int> order;
    for (int visual = 0; visual < head->count(); ++visual)
        order.push_back(head->logicalIndex(visual));
    if (static_cast<int>(order.size()) != m_table.ColumnCount())
        return;
    m_syncing = true;
    m_table.SetDisplayOrder(order);
    m_syncing = false;
    m_headerDragged = true;
}

void COdorListCtrl::OnSelectionChanged()
{
    if (m_syncing)
        return;
    m_syncing = true;
    const QItemSelectionModel* selection = selectionModel();
    for (int r = 0; r < m_table.RowCount(); ++r)
        m_table.SetSelected(r, selection->isRowSelected(r, {}));
    m_syncing = false;
}

void COdorListCtrl::paintEvent(QPaintEvent* event)
{
    if (m_table.RowCount() > 0) {
        QTreeView::paintEvent(event);
        return;
    }
    // No rows: the empty text, 10 pixels under the header, as wide as all header items, centred and wrapped.
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    int width = header()->length();
    if (width <= 0)
        width = viewport()->width();
    const QRect box(-header()->offset(), 10, width, std::max(0, viewport()->height() - 10));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, ToQString(m_table.EmptyText()));
}

void COdorListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTreeView::mouseDoubleClickEvent(event);
    emit rowDoubleClicked(index.isValid() ? index.row() : -1);
}

void COdorListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    emit contextMenuAt(event->globalPos());
}

} // namespace corvelin
