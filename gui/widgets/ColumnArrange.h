#pragma once
// The "Column Arrangement" dialog: which columns of a list are shown, in which order and how wide. The logic
// is the engine's CColumnArrangement; OK applies it to the table and stores it in the settings section.
#include <QDialog>
#include <string>

#include "engine/table/ColumnArrangement.h"

class QListWidget;
class QLineEdit;
class QPushButton;

namespace corvelin {
class CReportTable;

class CColumnArrange : public QDialog {
    Q_OBJECT
public:
    CColumnArrange(CReportTable& table, std::string section, QWidget* parent = nullptr);

    const CColumnArrangement& Arrangement() const noexcept { return m_arrangement; }
    QListWidget* AvailableList() const noexcept { return m_available; }
    QListWidget* UsedList() const noexcept { return m_used; }
    QLineEdit* WidthEdit() const noexcept { return m_width; }
    QPushButton* UpButton() const noexcept { return m_up; }
    QPushButton* DownButton() const noexcept { return m_down; }

    // The buttons' actions (also for tests).
    void OnMoveToUsed();
    void OnMoveToAvailable();
    void OnMoveUp();
    void OnMoveDown();
    // Leaving the width edit stores the typed width into the selected used column.
    void OnWidthEdited();

public slots:
    void accept() override;

private:
    void Fill(int selectUsed, int selectAvailable);
    void OnUsedSelectionChanged();

    CReportTable& m_table;
    std::string m_section;
    CColumnArrangement m_arrangement;
    QListWidget* m_available = nullptr;
    QListWidget* m_used = nullptr;
    QLineEdit* m_width = nullptr;
    QPushButton* m_toUsed = nullptr;
    QPushButton* m_toAvailable = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    bool m_filling = false;
};

} // namespace corvelin
