#pragma once
// The "Mass Spec Match Report" page: one chromatogram against the marked spectra of the shared options'
// spectral list, one row per peak and one column per marked spectrum (engine/views/MassSpecReport.h).
#include <string>

#include "gui/pages/MainPage.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

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
    // "CSV-Export": the report as CSV (visible columns in display order) in a file the user chooses, proposed as
    // "<chromatogram> MS Match Report.CSV" beside the chromatogram.
    void OnCsvExport();
    // "Print ...": the printed report (to "<chromatogram> MS Match Report.pdf" on a machine without printers).
    void OnPrint();
    // Whether the list holds a report (export and print are enabled).
    bool HasReport() const noexcept { return m_built; }
    // The context menu of the list; the caller owns it.
    QMenu* CreateContextMenu();

    COdorListCtrl* List() const noexcept { return m_list; }

private:
    // The chromatogram's folder and base name with the suffix appended.
    QString BesideChromatogram(const QString& suffix) const;

    QLineEdit* m_pathEdit = nullptr;
    QLabel* m_sampleLabel = nullptr;
    QLabel* m_dataSystemLabel = nullptr;
    COdorListCtrl* m_list = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_print = nullptr;
    bool m_built = false;
    std::string m_reportedPath; // the chromatogram of the report shown
};

} // namespace corvelin
