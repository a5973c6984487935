#pragma once
// Keeps the first column of a report list in sight while the list scrolls sideways: a second view over the same
// model and selection lies over the list's left edge and shows that column only, scrolling up and down with it.
#include <QTreeView>

namespace corvelin {

class COdorListCtrl;

class CFrozenFirstColumn : public QTreeView {
    Q_OBJECT
public:
    explicit CFrozenFirstColumn(COdorListCtrl* list);

    // The list column the overlay shows (the one in the first display position), -1 while there is none.
    int FrozenColumn() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the frozen column only, as wide as the list shows it, over the list's left edge; hidden while the
    // list has no rows (its empty text shows then).
    void Follow();

    COdorListCtrl* m_list;
};

} // namespace corvelin
