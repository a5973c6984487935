#pragma once
// The "Mass Spec Match Report" page: one chromatogram against the marked spectra of the shared options'
// spectral list, one row per peak and one column per marked spectrum (engine/views/MassSpecReport.h).
#include <string>

#include "gui/pages/MainPage.h"

class QLabel;
class QLineEdit;
class QMenu;

namespace corvelin {
class COdorListCtrl;

class CMassSpecReport : public CMainPage {
    Q_OBJECT
public:
    explicit CMassSpecReport(CSearchOptions& options, QWidget* parent = nullptr);

    std::string Path;
    std::string SampleNameText;
    std::string DataSystemText;

    bool StoreControls() override;
    void RefreshControls() override;

    void OnBrowse();
    void OnReport();
    void OnAdvanced();
    void OnOpenParameters();
    void OnColumnArrangement();
    // The context menu of the list; the caller owns it.
    QMenu* CreateContextMenu();

    COdorListCtrl* List() const noexcept { return m_list; }

private:
    QLineEdit* m_pathEdit = nullptr;
    QLabel* m_sampleLabel = nullptr;
    QLabel* m_dataSystemLabel = nullptr;
    COdorListCtrl* m_list = nullptr;
};

} // namespace corvelin
