#pragma once
// The "Library Search" page: the unknown chromatogram, the library folder, the search switches, the search on
// a worker thread with its progress, and the hit list with saving, printing, sorting, the data-system commands
// and the hand-offs to the other pages. The hit list's rows are the only store of results.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/workflow/SearchSession.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "gui/pages/JobWorker.h"
#include "gui/pages/MainPage.h"

class QCheckBox;
class QMenu;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace corvelin {
class COdorListCtrl;
struct CSearchJobSearch;

class CPageLibrarySearch : public CMainPage {
    Q_OBJECT
public:
    explicit CPageLibrarySearch(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPageLibrarySearch() override;

    // The unknown, the library folder (the folder searched last, else "LastFolder"), the peak limit (read once, here)
    // and the batch flags; the command line sets them before the page is shown.
    CSearchSession Session;
    // Set by "/Search=": the page runs the search by itself once shown, saves and/or prints, then clicks OK.
    bool BatchSearch = false;
    // The exit code of a batch search (engine/workflow/BatchExitCode.h), set when it ends.
    int BatchResult = 0;
    // Display texts of the unknown: number of peaks ("%2i"), sample name, data-system name.
    std::string PeakCountText;
    std::string SampleNameText;
    std::string DataSystemText;
    // Called on the search thread after each row has been handed to the interface thread, with the running
    // flag; tests hold the search here to act while it runs.
    std::function<void(const std::atomic<bool>& running)> RowDeliveredHook;

    // True from "Search" until the page has taken the search's last row and result (the search's own running
    // flag clears a little earlier, when its scan ends).
    bool IsRunning() const noexcept { return m_searching; }
    bool ResultsSaved() const noexcept { return m_resultsSaved; }
    // "Library Search Results ...": not searching and at least one row.
    bool CanPrintHitList() const;
    COdorListCtrl* HitList() const noexcept { return m_list; }

    bool StoreControls() override;
    void OnWindowCreated() override;
    void RefreshControls() override;
    bool CanLeave() override;

    // Commands (buttons, menu and context menu; public so that the main window and tests reach them).
    void OnBrowse();
    void OnChooseFolder();
    void OnSearch();
    void OnStopSearch();
    void OnAdvanced();
    void OnOpenParameters();
    void OnSaveParameters();
    void OnSaveReportFile();
    void OnPrintHitList();
    void OnColumnClick(int column);
    void OnDoubleClick(int row);
    void OnOpenInDatasystem();
    void OnDisplayMatch();
    void OnBuildMatrix();
    void OnBuildPeakTable();
    void OnOverlayInDatasystem();
    void OnInternalOverlay();
    void OnColumnArrangement();
    // The context menu as it would open now (items enabled by the selection).
    std::unique_ptr<QMenu> CreateContextMenu();

    // The full path of a row's library entry, and its data file (the entry name without ".ChromLibEntry").
    std::string EntryPathOfRow(int row) const;
    std::string DataPathOfRow(int row) const;
    // The file the CSV report of now would be written to.
    std::string ReportFilePath() const;

signals:
    // A search ended (completed, stopped or failed) and the page is idle again.
    void searchFinished();

private:
    void InsertColumns();
    void SetSearchingState(bool searching);
    // Starts a search job with a stop state of its own on the page's fields and a copy of the options.
    void StartSearch();
    // The timed batch search: the batch program's search job on the page's fields, its rows shown as they come;
    // its end (printing, saving) follows on this thread in OnBatchPoll.
    void StartBatchSearch();
    // What a search job hands to this page as it runs: the unknown, the progress, the rows.
    CLibrarySearchCallbacks JobCallbacks(CJobWorker::CJob& job);
    // Adds the folder's trailing separator; false (after a message) when there is no folder.
    bool PrepareLibraryFolder();
    void OnUnknownRead(const CUnknownInfo& unknown);
    void OnScanStarted(int entryCount);
    void OnRow(const std::vector<std::string>& cells);
    void OnSearchFinished();
    void OnBatchPoll();
    void SortByColumn(int column);
    void ShowPageMissing(IPageHost::PageId id);
    // The pair a hand-off takes from the selection: one row gives (unknown, row), two rows (first, second).
    bool SelectedPair(std::string& thisPath, std::string& otherPath) const;

    bool m_searching = false;
    bool m_scanSuspendedRedraw = false;
    bool m_resultsSaved = true;
    std::string m_stoppedLine;     // "Search stopped after ..." of a search stopped early, for its report
    CLibrarySearchResult m_result; // the end of the last search, handed over by its job
    CSearchRequest m_batchRequest; // the timed batch search's job
    std::shared_ptr<CSearchJobSearch> m_batchSearch; // its search half, handed over at its end
    CJobWorker* m_worker = nullptr;

    QLineEdit* m_unknownEdit = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    QLabel* m_peakCountLabel = nullptr;
    QLabel* m_sampleNameLabel = nullptr;
    QLabel* m_dataSystemLabel = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_folderButton = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_advanced = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_saveList = nullptr;
    QPushButton* m_printList = nullptr;
    QCheckBox* m_ms = nullptr;
    QCheckBox* m_rt = nullptr;
    QCheckBox* m_ri = nullptr;
    QCheckBox* m_area = nullptr;
    QCheckBox* m_height = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QProgressBar* m_progress = nullptr;
    COdorListCtrl* m_list = nullptr;
    QTimer* m_pollTimer = nullptr;
    QTimer* m_okTimer = nullptr;
};

} // namespace corvelin
