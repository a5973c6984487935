#pragma once
// The match plot: "this" in the upper and "other" in the lower chromatogram plot, a line from every "this" peak
// to the "other" peak it was matched with, coloured by the match value, and the spectra of the chosen pair in
// two panes on the right. Hovering shows peak and match details with links; clicking selects a line or a peak;
// dragging zooms both plots together. The line rules live in engine/views (MatchLines, MatchPlotTips). The control
// compares nothing itself: its owner compares the two chromatograms (engine/views/ChromatogramMatch.h) and hands
// the result to SetMatch.
#include <QWidget>
#include <array>
#include <memory>

#include "engine/views/ChromatogramMatch.h"
#include "engine/views/MatchLines.h"
#include "gui/widgets/DragBand.h"

namespace corvelin {

class CHtmlToolTip;
class CLibraryChromatogram;
class CLibraryMassSpectrumData;
class CMultiChromatogramPlot;
class CSearchOptions;
class CSpectrumDraw;
class CSpectrumThumbnails;

class CMatchControl : public QWidget {
    Q_OBJECT
public:
    enum Command { kAddSpectrumToOptions = 40035, kSearchSpectrumInNist = 40036 };
    enum Pane { kNoPane = -1, kUpperPlot = 0, kLowerPlot = 1, kUpperSpectrum = 2, kLowerSpectrum = 3 };

    CMatchControl(CSearchOptions& options, QWidget* parent = nullptr);
    ~CMatchControl() override;

    // Shows both chromatograms (copied into the plots), without match lines until SetMatch.
    void SetChromatograms(const CLibraryChromatogram& self, const CLibraryChromatogram& other);
    // Drops the shown match (lines, thumbnails, chosen spectra) and shows both plots whole: the match no longer
    // fits what the plots show, and a new one is on its way.
    void ClearMatch();
    // Shows the compare of the plots' chromatograms (Chromatogram(0) with Chromatogram(1)): lines and details.
    void SetMatch(CChromatogramMatch match);
    // The chromatogram a plot shows (0 upper, 1 lower); nullptr when it shows none.
    const CLibraryChromatogram* Chromatogram(int pane) const;
    // The colours of the match values, lowest first (the current colour scheme).
    void SetColours(std::vector<std::uint32_t> colours);

    void ShowFullScale();
    void ShowFullHeight();
    void ShowFullRTRange();
    void MoveLeft() { Move(false); }
    void MoveRight() { Move(true); }
    // Whether both plots hold a chromatogram.
    bool HasData() const;

    CMultiChromatogramPlot& Plot(int i) const { return *m_plots.at(i); }
    CSpectrumDraw& SpectrumPane(int i) const { return *m_spectra.at(i); }
    CHtmlToolTip& ToolTip() const { return *m_tip; }
    const std::vector<CMatchLinie>& Lines() const noexcept { return m_lines; }
    const CCellTable& Cells() const noexcept { return m_match.Cells; }
    const CLibraryHit& ForwardHit() const noexcept { return m_match.Forward; }
    const CLibraryHit& ReverseHit() const noexcept { return m_match.Reverse; }
    int SelectedLine() const noexcept { return m_selected; }
    std::size_t ThumbnailCount() const;

    // Both ends of line k in this control's coordinates.
    CLineEnds LineEnds(int k) const;
    // The hover text for a point of this control.
    std::string TipText(const QPoint& pos);
    // A link of the hover text ("1-Nist-3", "2-Spec-0", ...): NIST export or spectral list; others do nothing.
    void ActivateLink(const std::string& message);
    // A click (not a drag) at pos: select the nearest line, or show the spectrum of the peak under it.
    void ClickAt(const QPoint& pos);
    // A dragged rectangle from press to release: zooms both plots when large enough; returns whether it did.
    bool DragTo(const QPoint& press, const QPoint& release);
    // Which pane lies under pos; it becomes the pane last right-clicked when remember is set.
    Pane PaneAt(const QPoint& pos) const;
    Pane LastRightClicked() const noexcept { return m_lastRightClicked; }
    void SetLastRightClicked(Pane pane) { m_lastRightClicked = pane; }
    // Commands of the plots' zoom menus and the spectrum menu.
    void RunCommand(int command);

signals:
    // The spectral list of the options gained an entry.
    void SpectralListChanged();
    // A plot's chromatogram changed (its RI calibration was edited): the shown match was dropped and the owner
    // should compare again.
    void CompareWanted();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class LineOverlay;
    friend class LineOverlay;

    void Move(bool right);
    void ViewsChanged();
    void BuildLines();
    void ShareMassScale();
    unsigned long Thumbnail(int pane, int peakIndex);
    void OpenSpectrumMenu(const QPoint& globalPos);
    void SendSpectrum(bool toNist, const CLibraryMassSpectrumData& spectrum, const std::string& name,
                      const std::string& comment);

    CSearchOptions& m_options;
    std::array<CMultiChromatogramPlot*, 2> m_plots{};
    std::array<CSpectrumDraw*, 2> m_spectra{};
    std::array<std::string, 2> m_dataFiles;
    LineOverlay* m_overlay = nullptr;
    CHtmlToolTip* m_tip = nullptr;
    std::unique_ptr<CSpectrumThumbnails> m_thumbnails;
    CChromatogramMatch m_match; // the compare of the two plots' chromatograms, once handed over
    bool m_hasMatch = false;
    std::vector<CMatchLinie> m_lines;
    std::vector<std::uint32_t> m_colours;
    int m_selected = -1;
    Pane m_lastRightClicked = kNoPane;
    CDragBand m_band{this};
};

} // namespace corvelin
