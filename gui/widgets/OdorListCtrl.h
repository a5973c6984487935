#pragma once
// The sortable report list of every result table: a view over the report table it owns. It paints its empty
// text while it has no rows, sorts through the table's typed sort and marks the sort column in the header,
// sizes columns to their content, nests redraw suspension, lets the user drag columns into another order and
// hides columns of width 0. User changes of widths, order and selection go back into the table; a list with an
// arrangement section also stores the widths and order the user drags there, so they come back after a restart.
#include <QTreeView>
#include <string>

#include "engine/table/ReportTable.h"

namespace corvelin {

class CReportTableModel;

class COdorListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit COdorListCtrl(QWidget* parent = nullptr);
    ~COdorListCtrl() override;

    CReportTable& Table() noexcept { return m_table; }
    const CReportTable& Table() const noexcept { return m_table; }

    void SetEmptyText(const std::string& text) { m_table.SetEmptyText(text); }

    // Redraw suspension nests: drawing stops at the first suspension and resumes at the last matching resume.
    void SuspendRedraw();
    void ResumeRedraw();
    int RedrawDepth() const noexcept { return m_redrawDepth; }

    // Sorts by the keys (see CReportTable::Sort) and marks the sort column; the selection follows its rows.
    // @exception CUserException from a date-time key (see CReportTable::Sort).
    void Sort(const CSortKey& key1, const CSortKey& key2 = {}, const CSortKey& key3 = {});
    // Marks the header of key 1's column with its direction (keys 2 and 3 are not used by any page).
    void MarkSortColumns(const CSortKey& key1);

    // first = column index or -1 for all columns.
    void AutoSizeColumns(int first, bool withHeaders);
    // Applies the arrangement stored in the settings section (first start: every column as inserted).
    void ApplyStoredArrangement(const std::string& section);
    // Opens the "Column Arrangement" dialog for this list and the section.
    void OpenArrangementDialog(const std::string& section);
    // The settings section that keeps this list's arrangement; the user's drags of header widths and positions
    // are written there when the mouse lets go. Empty (the default): nothing is stored.
    void SetArrangementSection(const std::string& section) { m_section = section; }
    // After a fill: while no arrangement is stored in the list's section (or it has none), every visible column is
    // sized to its header and contents, so nothing reads "ELE…"; a stored arrangement keeps its widths.
    void FitColumnsToContent();

    // Brings the header (hidden columns, widths, display order) in line with the table.
    void SyncHeader();

    // Row indexes of the selected rows, in list order.
    std::vector<int> SelectedRows() const { return m_table.SelectedRows(); }
    void SelectRows(const std::vector<int>& rows);
    // The pixel width a text needs in a cell of this list (content auto-size).
    int TextWidth(const std::string& text) const;

signals:
    void columnHeaderClicked(int column);
    void rowDoubleClicked(int row); // -1: double click on empty space
    void contextMenuAt(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplySelectionFromTable();
    void OnSectionResized(int logical, int oldSize, int newSize);
    void OnSectionMoved();
    void OnSelectionChanged();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CReportTable m_table;
    CReportTableModel* m_model = nullptr;
    int m_redrawDepth = 0;
    bool m_syncing = false;
    std::string m_section;
    bool m_headerDragged = false; // a width or position changed while the mouse button was down on the header
};

} // namespace corvelin
