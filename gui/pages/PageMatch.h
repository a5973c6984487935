#pragma once
// The "Chromatogram Match" page: asks for two chromatograms, reads them and shows their match in the match
// plot, with the shared plot toolbar above it. The library search hands pairs to it ("Display chromatogram
// match"). The files are read at once; their compare runs on the page's job worker, and while it runs the page
// shows a "Stop" button and the plot no match lines. A new pair, new options or an edited RI calibration
// supersedes a compare that runs.
#include <memory>
#include <string>

#include "engine/core/LibraryChromatogram.h"
#include "gui/pages/LatestJob.h"
#include "gui/pages/MainPage.h"
#include "gui/pages/PageHandOffs.h"

class QPushButton;

namespace corvelin {

class CColorScale;
struct CChromatogramMatchInputs;
class CMatchControl;
class CPlotToolBar;

class CPageMatch : public CMainPage, public IMatchTarget {
    Q_OBJECT
public:
    explicit CPageMatch(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPageMatch() override;

    // "Select files ...": two open dialogs, then the match of the chosen paths.
    void OnSelectFiles();
    // The parameters button: the "Compare Options" sheet; on OK the plot compares again.
    void OnParameters();
    // Starts the page's job on both files: it reads them, shows them and compares them (a request while one runs
    // supersedes it). False when the user declined the similar-names question; a read that fails says why and
    // leaves the plot as it was.
    bool ShowMatch(const std::string& thisPath, const std::string& otherPath) override;
    // Whether a compare runs (its lines are not shown yet).
    bool IsBusy() const noexcept;
    // "Stop": the compare that runs ends without lines.
    void OnStop();
    // Another page's colour scale may have chosen a new scheme meanwhile.
    void OnActivated() override;

    CMatchControl& MatchPlot() const noexcept { return *m_plot; }
    QPushButton* StopButton() const noexcept { return m_stop; }
    CPlotToolBar& ToolBar() const noexcept { return *m_toolBar; }
    CColorScale& ColourScale() const noexcept { return *m_scale; }
    const CLibraryChromatogram& This() const noexcept { return m_this; }
    const CLibraryChromatogram& Other() const noexcept { return m_other; }

    // The paths chosen last, kept for the whole run of the program and shared by every instance.
    static std::string& LastThisPath();
    static std::string& LastOtherPath();

private:
    // Compares what the plot shows, superseding a compare that runs.
    void StartCompare();
    // On the job's thread: compares the pair and hands the match to the plot; a stopped or failed compare hands
    // nothing over.
    void CompareAndDeliver(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                           const CSearchOptions& options, CJobWorker::CJob& job, const CLatestJob::Deliver& deliver);
    // Shows the chromatograms the job read (and says when their RI values are unknown).
    void Show(const CChromatogramMatchInputs& inputs);
    void SetBusyState(bool busy);
    void UpdateToolBar();
    // Gives the match plot the colours of the current colour scheme.
    void ApplyColourScheme();

    CMatchControl* m_plot = nullptr;
    CPlotToolBar* m_toolBar = nullptr;
    CColorScale* m_scale = nullptr;
    QPushButton* m_selectFiles = nullptr;
    QPushButton* m_parameters = nullptr;
    QPushButton* m_stop = nullptr;
    CLatestJob* m_compare = nullptr;
    CLibraryChromatogram m_this;
    CLibraryChromatogram m_other;
};

} // namespace corvelin
