#pragma once
// A read-only Qt model over an engine report table: one row per table row, one column per table column,
// cell texts as display data. It follows the table's change notifications, so the owner edits the table and
// every view updates.
#include <QAbstractTableModel>

#include "engine/table/ReportTable.h"

namespace corvelin {

class CReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The model becomes the table's change listener for its lifetime.
    explicit CReportTableModel(CReportTable& table, QObject* parent = nullptr);
    ~CReportTableModel() override;

    CReportTable& Table() noexcept { return m_table; }
    const CReportTable& Table() const noexcept { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The column set, widths or display order changed in the table.
    void columnsArranged();
    // Rows were reordered (sorted); selection states travelled with the rows.
    void rowsReordered();
    void emptyTextChanged();

private:
    void OnChange(CReportTable::Change change, int first, int last);

    CReportTable& m_table;
    int m_rows = 0;
    int m_columns = 0;
};

} // namespace corvelin
