#pragma once
// The "Peak Match Table" page: two chromatograms compared with the shared compare options, listed pair by pair
// with the factor values, then the peaks without a partner. Sorting by any column, the column arrangement of
// "MatchTable", the CSV export, and the peak actions of the context menu (NIST MS Search, spectral list).
// Reading, comparing and the table itself live in the engine view (engine/views/PeakMatchTable.h). A build asks
// its questions first, then reads and compares on the page's job worker (the build button reading "Stop"
// meanwhile); the shown table stays until the new one is handed over.
#include <string>

#include "engine/views/PeakMatchTable.h"
#include "gui/pages/MainPage.h"
#include "gui/pages/PageHandOffs.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace corvelin {
class CLatestJob;
class COdorListCtrl;

class CPagePeakMatchTable : public CMainPage, public IPeakTableTarget {
    Q_OBJECT
public:
    explicit CPagePeakMatchTable(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPagePeakMatchTable() override;

    // A pair handed on from the library search's hit list: both paths, then "Build Peak Match Table".
    void SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath) override;

    std::string ThisPath;
    std::string OtherPath;

    bool StoreControls() override;
    void RefreshControls() override;

    // Commands (buttons and menus; public for the main window and tests).
    void OnBrowseThis();
    void OnBrowseOther();
    // "Build Peak Match Table": a build that runs is superseded (it ends without handing over, the new one
    // starts after it).
    void OnBuild();
    // "Stop" (the build button while a build runs): the build ends without a new table.
    void OnStop();
    // From the start of a build's reading until its end has been handled.
    bool IsBusy() const noexcept;
    // How the last build that ended went (Built before the first).
    CPeakMatchTable::Outcome LastOutcome() const noexcept { return m_lastOutcome; }
    QPushButton* BuildButton() const noexcept { return m_build; }
    void OnCsvExport();
    void OnAdvanced();
    void OnOpenParameters();
    void OnSaveParameters();
    void OnColumnClick(int column);
    void OnColumnArrangement();
    // The context menu for a click on a list cell (row, column); the caller owns it.
    QMenu* CreateContextMenu(int row, int column);
    void OnSearchPeakInNist();
    void OnAddPeakToSearchOptions();

    COdorListCtrl* List() const noexcept { return m_list; }
    bool CanExportCsv() const;
    const CPeakMatchTable& Model() const noexcept { return m_model; }

private:
    void Browse(std::string& path);
    void ShowBuilt(CPeakMatchTable::CCompared compared, const CSearchOptions& options);

    CPeakMatchTable m_model;
    CLatestJob* m_buildJob = nullptr;
    CPeakMatchTable::Outcome m_lastOutcome = CPeakMatchTable::Outcome::Built;
    int m_menuRow = -1;
    int m_menuColumn = -1;

    QLineEdit* m_thisEdit = nullptr;
    QLineEdit* m_otherEdit = nullptr;
    QCheckBox* m_ms = nullptr;
    QCheckBox* m_rt = nullptr;
    QCheckBox* m_ri = nullptr;
    QCheckBox* m_area = nullptr;
    QCheckBox* m_height = nullptr;
    QPushButton* m_build = nullptr;
    QPushButton* m_export = nullptr;
    COdorListCtrl* m_list = nullptr;
};

} // namespace corvelin
