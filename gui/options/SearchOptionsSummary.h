#pragma once
// "Summary Options": how the multi-file peak summary shows its values and finds its internal standard.
#include "gui/options/SearchOptionsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace corvelin {

class CSearchOptionsSummary : public CSearchOptionsPage {
    Q_OBJECT
public:
    explicit CSearchOptionsSummary(CSearchOptions& record, QWidget* parent = nullptr);

    bool StoreData() override;
    void LoadData() override;
    void OnSetActive() override;
    void OnRelativeClicked();

    QComboBox* ISTDBox() const noexcept { return m_istd; }
    QCheckBox* RelativeBox() const noexcept { return m_relative; }

private:
    bool Exchange(bool store);
    void FillISTDList();

    QComboBox* m_show = nullptr;
    QCheckBox* m_relative = nullptr;
    QComboBox* m_istd = nullptr;
    QLineEdit* m_istdMatch = nullptr;
    QLineEdit* m_istdRT = nullptr;
    QLineEdit* m_minMatch = nullptr;
};

} // namespace corvelin
