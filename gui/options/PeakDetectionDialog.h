#pragma once
// "Peak Detection": the peak detector's parameters for the data system of the run shown, each with what it does
// and its unit. "Detect again" hands the values to the page at once (it stores them where the data system's
// module reads them and redraws the marks); OK does the same and closes.
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "engine/peaks/PeakDetectorSettings.h"

class QDoubleSpinBox;
class QPushButton;

namespace corvelin {

class CPeakDetectionDialog : public QDialog {
    Q_OBJECT
public:
    using DetectAgain = std::function<void(const CPeakDetectorSettings&)>;
    // dataSystem names the module whose settings are edited (the caption); detectAgain applies values.
    CPeakDetectionDialog(QWidget* parent, const std::string& dataSystem, const CPeakDetectorSettings& settings,
                         DetectAgain detectAgain);

    // The values of the fields.
    CPeakDetectorSettings Settings() const;
    // Field of parameter i (PeakDetectorParameters order), for tests.
    QDoubleSpinBox* Field(std::size_t i) const { return m_fields.at(i); }
    QPushButton* DetectAgainButton() const noexcept { return m_detectAgain; }

    void accept() override;

private:
    void Apply();

    std::vector<QDoubleSpinBox*> m_fields;
    QPushButton* m_detectAgain = nullptr;
    DetectAgain m_apply;
};

} // namespace corvelin
