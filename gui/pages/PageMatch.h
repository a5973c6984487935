#pragma once
// The "Chromatogram Match" page: asks for two chromatograms, reads them and shows their match in the match
// plot, with the shared plot toolbar above it. The library search hands pairs to it ("Display chromatogram
// match").
#include <memory>
#include <string>

#include "engine/core/LibraryChromatogram.h"
#include "gui/pages/MainPage.h"
#include "gui/pages/PageHandOffs.h"

class QPushButton;

namespace corvelin {

class CColorScale;
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
    // Reads both files and shows their match; false when the user declined the similar-names question or a
    // read failed (the plot then keeps what it showed).
    bool ShowMatch(const std::string& thisPath, const std::string& otherPath) override;
    // Another page's colour scale may have chosen a new scheme meanwhile.
    void OnActivated() override;

    CMatchControl& MatchPlot() const noexcept { return *m_plot; }
    CPlotToolBar& ToolBar() const noexcept { return *m_toolBar; }
    CColorScale& ColourScale() const noexcept { return *m_scale; }
    const CLibraryChromatogram& This() const noexcept { return m_this; }
    const CLibraryChromatogram& Other() const noexcept { return m_other; }

    // The paths chosen last, kept for the whole run of the program and shared by every instance.
    static std::string& LastThisPath();
    static std::string& LastOtherPath();

private:
    void UpdateToolBar();
    // Gives the match plot the colours of the current colour scheme.
    void ApplyColourScheme();

    CMatchControl* m_plot = nullptr;
    CPlotToolBar* m_toolBar = nullptr;
    CColorScale* m_scale = nullptr;
    QPushButton* m_selectFiles = nullptr;
    QPushButton* m_parameters = nullptr;
    CLibraryChromatogram m_this;
    CLibraryChromatogram m_other;
};

} // namespace corvelin
