#pragma once
// "Peak Property Options": the matching switches, windows, weighting, RT search range and thresholds.
#include "gui/options/SearchOptionsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace corvelin {

class CSearchBasicOptions : public CSearchOptionsPage {
    Q_OBJECT
public:
    explicit CSearchBasicOptions(CSearchOptions& record, QWidget* parent = nullptr);

    bool StoreData() override;
    void LoadData() override;

    void OnMassThresholdClicked();
    void OnAreaThresholdClicked();
    void OnAbsoluteClicked();

    QCheckBox* AreaBox() const noexcept { return m_area; }
    QCheckBox* HeightBox() const noexcept { return m_height; }
    QCheckBox* MassThresholdBox() const noexcept { return m_massOn; }
    QLineEdit* MassThresholdEdit() const noexcept { return m_mass; }
    QCheckBox* AreaThresholdBox() const noexcept { return m_areaOn; }
    QLineEdit* AreaThresholdEdit() const noexcept { return m_areaValue; }
    QCheckBox* AbsoluteBox() const noexcept { return m_absolute; }
    QLineEdit* TimeRangeEdit() const noexcept { return m_range; }
    QLineEdit* RTWindowEdit() const noexcept { return m_rtWindow; }
    QLineEdit* RIWindowEdit() const noexcept { return m_riWindow; }

private:
    bool Exchange(bool store);
    void ApplyEnabling();
    void ApplyAreaHeightLabels();

    QCheckBox* m_ms = nullptr;
    QCheckBox* m_rt = nullptr;
    QCheckBox* m_ri = nullptr;
    QCheckBox* m_area = nullptr;
    QCheckBox* m_height = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QLineEdit* m_range = nullptr;
    QLineEdit* m_rtWindow = nullptr;
    QLineEdit* m_riWindow = nullptr;
    QCheckBox* m_multiple = nullptr;
    QComboBox* m_weighting = nullptr;
    QCheckBox* m_massOn = nullptr;
    QLineEdit* m_mass = nullptr;
    QCheckBox* m_areaOn = nullptr;
    QLineEdit* m_areaValue = nullptr;
    QCheckBox* m_absolute = nullptr;
};

} // namespace corvelin
