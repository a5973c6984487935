#pragma once
// The "Add Chromatogram" page: turns instrument data files into library entries beside them ("Display &&
// Convert", alone or all like files of the folder), or shows what a file holds ("just display"). The tree
// under "File Information" lists what each action did. Above it, a raw run (its module hands over the scans)
// is plotted as its total-ion chromatogram with the detected peaks marked and extracted-ion chromatograms of the
// masses typed in; a click on a peak shows its spectrum and selects its row in the tree. "Peak Detection ..."
// edits the detector's settings of the run's data system and detects again at once. A peak list is shown as
// the peak plot.
#include <memory>
#include <optional>
#include <string>

#include "engine/core/LibraryMassSpectrum.h"
#include "engine/workflow/RunDisplay.h"
#include "gui/pages/JobWorker.h"

#include "gui/pages/MainPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvelin {
struct CInfoLine;
class CLibraryChromatogram;
class CMultiChromatogramPlot;
class CRunPlot;
class CSpectrumDraw;

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
    // "Peak Detection ...": the settings dialog of the run shown (its "Detect again" calls DetectAgainWith).
    void OnPeakDetection();
    // Stores settings for the run's data system and redraws the marks; the tree is read again, so it lists the
    // peaks the next conversion writes.
    void DetectAgainWith(const CPeakDetectorSettings& settings);
    // Shows the extracted-ion chromatograms of the masses in the field.
    void OnIonMasses();
    // A click on peak p of the run plot: its spectrum, its row in the tree.
    void OnPeakClicked(int peak);

    QTreeWidget* InfoTree() const noexcept { return m_tree; }
    CRunPlot* RunPlot() const noexcept { return m_runPlot; }
    CMultiChromatogramPlot* PeakPlot() const noexcept { return m_peakPlot; }
    CSpectrumDraw* SpectrumPlot() const noexcept { return m_spectrum; }
    QStackedWidget* Plots() const noexcept { return m_plots; }
    QLineEdit* IonMassesField() const noexcept { return m_ionsEdit; }
    QPushButton* PeakDetectionButton() const noexcept { return m_detectionButton; }
    // Whether the scans of the file shown are still being read (on the job worker).
    bool IsReadingRun() const noexcept { return m_runReader && m_runReader->IsRunning(); }
    // The raw run shown, when the file's module handed over its scans.
    const std::optional<CRunDisplay>& ShownRun() const noexcept { return m_run; }
    // The tree's lines, depth-first, each indented by one blank per level (tests and screenshots).
    std::vector<std::string> TreeLines() const;

private:
    void ShowTree(const std::vector<CInfoLine>& lines);
    // Shows the file just read: the peak plot of shown at once; its scans are read on the job worker and, when
    // its module hands them over, the run plot replaces it.
    void ShowPlot(const CLibraryChromatogram& shown);
    void StartRunRead(int generation);
    // Shows run (or, without one, the peak plot).
    void ShowRun(std::optional<CRunDisplay> run);
    // The tree row of peak p (0-based, in peak order), or nullptr.
    QTreeWidgetItem* PeakRow(int peak) const;
    double MinAreaInEffect() const { return MinAreaOn ? MinArea : 0.0; }

    QLineEdit* m_fileEdit = nullptr;
    QCheckBox* m_minAreaBox = nullptr;
    QLineEdit* m_minAreaEdit = nullptr;
    QCheckBox* m_convertAllBox = nullptr;
    QTreeWidget* m_tree = nullptr;
    QStackedWidget* m_plots = nullptr;
    CRunPlot* m_runPlot = nullptr;
    CMultiChromatogramPlot* m_peakPlot = nullptr;
    QStackedWidget* m_spectrumSide = nullptr;
    CSpectrumDraw* m_spectrum = nullptr;
    QLineEdit* m_ionsEdit = nullptr;
    QPushButton* m_detectionButton = nullptr;
    std::optional<CRunDisplay> m_run;
    CJobWorker* m_runReader = nullptr;
    int m_runGeneration = 0; // the read whose result is shown; older reads' results are dropped
    bool m_readAgain = false;
    CLibraryMassSpectrumData m_peakSpectrum;
};

} // namespace corvelin
