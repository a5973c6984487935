#pragma once
// The "Multiple Chromatogram Peak List" page: a list of chromatogram files, "Go" that runs the engine's
// multi-file peak summary as a job (progress bar, status line; "Stop" ends it early), the results table with a hover
// tip per peak and its two actions, "advanced ..." that refills the table from the last result without a new run, and
// the CSV export.
#include <QPoint>
#include <QSize>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "gui/pages/MainPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace corvelin {
class CFrozenFirstColumn;
class CHtmlToolTip;
class CJobWorker;
class COdorListCtrl;
class CSpectrumThumbnails;

class CPageMultiSummary : public CMainPage {
    Q_OBJECT
public:
    explicit CPageMultiSummary(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPageMultiSummary() override;

    bool StoreControls() override;
    void RefreshControls() override;
    bool CanLeave() override;

    // Commands (buttons; public so that tests reach them).
    void OnAdd();
    void OnRemove();
    void OnGo();
    // Ends the run early: no further file is read; the groups of the files read so far are shown.
    void OnStop();
    void OnExport();
    void OnAdvanced();
    void OnOpenParameters();
    void OnSaveParameters();
    // A link of the peak tip: "<chromatogram>-Nist-<group>" or "<chromatogram>-Spec-<group>".
    void OnPeakLink(const std::string& message);

    // Appends a file to the file list after reading it (the checks of "Add"); false stops an "Add" of several.
    bool AddFile(const std::string& path);
    bool IsBusy() const noexcept { return m_busy; }
    // Called on the run's thread after each status it hands to the page, with the run's running flag; tests
    // hold the run here to act while it runs.
    std::function<void(const std::atomic<bool>& running)> StatusDeliveredHook;
    const std::string& StatusText() const noexcept { return m_status; }
    COdorListCtrl* FileList() const noexcept { return m_files; }
    COdorListCtrl* Results() const noexcept { return m_results; }
    const CMultiSummaryResultData& Result() const noexcept { return m_result; }
    // The hover text of a results-table cell (row = table row, column = table column); empty where there is none.
    std::string TipTextAt(int row, int column);
    // The hover text for a point of the results table's viewport.
    std::string TipTextAtPoint(const QPoint& viewportPos);
    CHtmlToolTip& PeakTip() const noexcept { return *m_tip; }
    QSize PictureSize() const noexcept { return {m_pictureWidth, m_pictureHeight}; }
    // The tip's picture handle of the spectrum of a cell's peak (drawn when first asked for, then cached until
    // the next run); 0 when the cell holds no peak.
    unsigned long PeakPicture(int chromatogram, int group);

signals:
    // A run ended and its results are in the table.
    void runFinished();

private:
    void SetBusyState(bool busy);
    void OnRunFinished();
    void FillResults();
    void SetStatus(const std::string& text);

    bool m_busy = false;
    CJobWorker* m_worker = nullptr;
    // The record the last run built on its own, handed over at its end, with what it did.
    std::shared_ptr<CMultiSummaryResultData> m_runResult;
    CMultiSummaryRunStats m_runStats;
    std::size_t m_runFiles = 0;
    CMultiSummaryResultData m_result;
    std::string m_status;
    int m_pictureWidth = 300;
    int m_pictureHeight = 120;
    CHtmlToolTip* m_tip = nullptr;
    std::unique_ptr<CSpectrumThumbnails> m_thumbnails;

    COdorListCtrl* m_files = nullptr;
    COdorListCtrl* m_results = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_advanced = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QCheckBox* m_ms = nullptr;
    QCheckBox* m_rt = nullptr;
    QCheckBox* m_ri = nullptr;
    QLineEdit* m_minMatch = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_istdNote = nullptr; // why values cannot be relative to the ISTD; hidden when they can
    CFrozenFirstColumn* m_frozenFiles = nullptr;
};

} // namespace corvelin
