#pragma once
// "RI Calibration": the calibration compounds (name, RT, RI) in a list sorted by RT, and the calculation
// option. The list is written into the record on OK and before saving a file; point spectra do not survive.
#include <string>
#include <vector>

#include "gui/options/SearchOptionsPage.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvelin {
class COdorListCtrl;

// The position and order test for a new RT/RI pair against rows of (RT, RI): the insertion position just
// after the last row with a smaller RT, or -1 when the RI breaks the rule that RI increases with RT. Rows
// with an equal RT do not constrain.
int RICalibrationInsertPosition(const std::vector<std::pair<double, double>>& rows, double rt, double ri);

class CSearchOptionsRICalibration : public CSearchOptionsPage {
    Q_OBJECT
public:
    explicit CSearchOptionsRICalibration(CSearchOptions& record, QWidget* parent = nullptr);

    bool StoreData() override;
    void LoadData() override;
    void OnSetActive() override;
    bool OnOK() override;

    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnNameChanged();
    void OnRowSelected();
    // Rebuilds the record's calibration points from the list (empty spectra).
    void StoreListIntoRecord();

    COdorListCtrl* List() const noexcept { return m_list; }
    QLineEdit* NameEdit() const noexcept { return m_name; }
    QLineEdit* RTEdit() const noexcept { return m_rt; }
    QLineEdit* RIEdit() const noexcept { return m_ri; }
    QPushButton* AddButton() const noexcept { return m_add; }
    QPushButton* EditButton() const noexcept { return m_edit; }
    QPushButton* RemoveButton() const noexcept { return m_remove; }

    // The page's own edit values.
    std::string Name;
    double RT = 0;
    double RI = 0;

private:
    bool Exchange(bool store);
    void FillList();
    void SortByRT();
    void UpdateButtons();
    int FindRowByName(const std::string& name, bool caseSensitive) const;
    std::vector<std::pair<double, double>> RowValues() const;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_rt = nullptr;
    QLineEdit* m_ri = nullptr;
    COdorListCtrl* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QRadioButton* m_kovats = nullptr;
    QRadioButton* m_linear = nullptr;
};

} // namespace corvelin
