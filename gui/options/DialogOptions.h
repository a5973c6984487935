#pragma once
// The program options dialog "Options": print page layout and font, whether reports print the search
// parameters, the peak limit, the match matrix display sizes, the optional pages of the main window and the
// path of the external AMDIS program. Loads every value from the settings store when created and writes all
// of them back on OK.
#include <QDialog>
#include <string>

#include "engine/options/ProgramOptions.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;

namespace corvelin {

class CDialogOptions : public QDialog {
    Q_OBJECT
public:
    // Loads the values. @exception CUserException when no plug-in slot is registered (after the message
    // "ReadAmdisPath: Error reading number of file types plugins.").
    explicit CDialogOptions(QWidget* parent = nullptr);

    // Creates, shows modally and destroys the dialog; a refused construction shows nothing more. True on OK.
    static bool Run(QWidget* parent);

    // Validates and stores the controls into the fields (false: a range message was shown).
    bool StoreControls();
    void RefreshControls();
    // Takes a chosen font: face name and whole points (fractions dropped).
    void ApplyChosenFont(const QString& family, double pointSize);
    // Takes a chosen AMDIS program path; shows the restart message when it differs (ignoring case) from
    // previousPath.
    void ApplyChosenAmdisPath(std::string previousPath, const QString& chosen);
    // Writes every value to the settings store (the OK path after a successful StoreControls).
    void WriteSettings();

    // Fields.
    CProgramOptions Values;
    std::string AmdisPath;

public slots:
    void accept() override;

private:
    void OnChooseFont();
    void OnChooseAmdis();
    QLineEdit* AddEdit(QFormLayout* form, const char* label, bool readOnly = false);

    QLineEdit* m_top = nullptr;
    QLineEdit* m_bottom = nullptr;
    QLineEdit* m_left = nullptr;
    QLineEdit* m_right = nullptr;
    QLineEdit* m_fontName = nullptr;
    QLineEdit* m_fontSize = nullptr;
    QCheckBox* m_printSearch = nullptr;
    QLineEdit* m_maxPeaks = nullptr;
    QLineEdit* m_minSize = nullptr;
    QLineEdit* m_sizeRange = nullptr;
    QCheckBox* m_showAdd = nullptr;
    QCheckBox* m_showReport = nullptr;
    QCheckBox* m_showOverlay = nullptr;
    QCheckBox* m_showMatchPlot = nullptr;
    QCheckBox* m_showPeakTable = nullptr;
    QLineEdit* m_amdisPath = nullptr;
};

} // namespace corvelin
