#include "gui/widgets/ReportTableModel.h"

#include "gui/widgets/QtText.h"

namespace corvelin {

CReportTableModel::CReportTableModel(CReportTable& table, QObject* parent)
    : QAbstractTableModel(parent), m_table(table), m_rows(table.RowCount()), m_columns(table.ColumnCount())
{
    m_table.SetChangeListener(
        [this](CReportTable::Change change, int first, int last) { OnChange(change, first, last); });
}

CReportTableModel::~CReportTableModel()
{
    m_table.SetChangeListener({});
}

int CReportTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CReportTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant CReportTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        index.row() >= m_table.RowCount() || index.column() >= m_table.ColumnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return ToQString(m_table.Cell(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        switch (m_table.Column(index.column()).Align) {
        case ColumnAlign::Right:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case ColumnAlign::Center:
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        case ColumnAlign::Left:
            break;
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant CReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_table.ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(m_table.Header(section));
    return {};
}

void CReportTableModel::OnChange(CReportTable::Change change, int first, int last)
{
    switch (change) {
    case CReportTable::Change::Columns:
        beginResetModel();
        m_rows = m_table.RowCount();
        m_columns = m_table.ColumnCount();
        endResetModel();
        emit columnsArranged();
        break;
    case CReportTable::Change::RowsInserted:
        // The table has already changed: announce the rows it now holds beyond the ones the views know.
        if (m_table.RowCount() != m_rows + (last - first + 1)) {
            beginResetModel();
            m_rows = m_table.RowCount();
            endResetModel();
            break;
        }
        beginInsertRows({}, first, last);
        m_rows = m_table.RowCount();
        endInsertRows();
        break;
    case CReportTable::Change::RowsRemoved:
        if (m_rows != m_table.RowCount() + (last - first + 1) || first > last) {
            beginResetModel();
            m_rows = m_table.RowCount();
            endResetModel();
            break;
        }
        beginRemoveRows({}, first, last);
        m_rows = m_table.RowCount();
        endRemoveRows();
        break;
    case CReportTable::Change::CellsChanged:
        if (m_rows > 0 && m_columns > 0)
            emit dataChanged(index(std::max(first, 0), 0), index(std::min(last, m_rows - 1), m_columns - 1));
        break;
    case CReportTable::Change::RowsReordered:
        emit layoutAboutToBeChanged();
        emit layoutChanged();
        emit rowsReordered();
        break;
    case CReportTable::Change::ColumnOrder:
        emit columnsArranged();
        break;
    case CReportTable::Change::EmptyText:
        emit emptyTextChanged();
        break;
    }
}

} // namespace corvelin
