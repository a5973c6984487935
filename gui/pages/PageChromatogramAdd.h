#pragma once
// The "Add Chromatogram" page: turns instrument data files into library entries beside them ("Display &&
// Convert", alone or all like files of the folder), or shows what a file holds ("just display"). The tree
// under "File Information" lists what each action did.
#include <string>

#include "gui/pages/MainPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace corvelin {
struct CInfoLine;

class CPageChromatogramAdd : public CMainPage {
    Q_OBJECT
public:
    explicit CPageChromatogramAdd(CSearchOptions& options, QWidget* parent = nullptr);

    // Page fields ("/Convert=" and "/MinArea=" set them before the page is shown).
    std::string DataFile;
    int MinAreaOn = 0;
    double MinArea = 0.5; // percent, 0 ... 100
    int ConvertAll = 0;
    // Set by "/Convert=": convert 333 ms after the page is shown, then end the main window without questions.
    bool BatchConvert = false;
    // The exit code of a batch conversion (engine/workflow/BatchExitCode.h): 0, or 5 when it failed.
    int BatchResult = 0;

    bool StoreControls() override;
    void OnWindowCreated() override;
    void RefreshControls() override;

    void OnBrowse();
    void OnJustDisplay();
    void OnDisplayAndConvert();
    void OnMinAreaClicked();
    void OnRICalibration();
    void OnOpenParameters();

    QTreeWidget* InfoTree() const noexcept { return m_tree; }
    // The tree's lines, depth-first, each indented by one blank per level (tests and screenshots).
    std::vector<std::string> TreeLines() const;

private:
    void ShowTree(const std::vector<CInfoLine>& lines);
    double MinAreaInEffect() const { return MinAreaOn ? MinArea : 0.0; }

    QLineEdit* m_fileEdit = nullptr;
    QCheckBox* m_minAreaBox = nullptr;
    QLineEdit* m_minAreaEdit = nullptr;
    QCheckBox* m_convertAllBox = nullptr;
    QTreeWidget* m_tree = nullptr;
};

} // namespace corvelin
