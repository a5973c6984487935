#pragma once
// The "Overlay Plot" page: any number of chromatograms or library files, listed by path in a drop-down list and
// overlaid in one chromatogram plot in eight repeating colours; the chosen entry is drawn in red, its RI
// calibration can be edited, and the plot can be copied to the clipboard. The library search hands files to it
// ("Internal Overlay").
#include <string>

#include "gui/pages/MainPage.h"
#include "gui/pages/PageHandOffs.h"

class QComboBox;
class QPushButton;

namespace corvelin {

class CMultiChromatogramPlot;
class CPlotToolBar;

class CPageOverlayPlot : public CMainPage, public IOverlayTarget {
    Q_OBJECT
public:
    explicit CPageOverlayPlot(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPageOverlayPlot() override;

    // "Add": the open dialog, shown again until the user cancels or a chosen file has been added.
    void OnAdd();
    // "Remove": the chosen entry leaves the list and the plot; the entry before it is chosen.
    void OnRemove();
    // Choosing entry index of the list (-1 = none): the previous one gets its colour back, this one turns red.
    void Choose(int index);
    // "Re&calibrate RI ...": the RI calibration of the chosen entry's chromatogram.
    void OnEditRICalibration();
    // Adds path to the list and the plot; true when added or already overlaid, false after a read error.
    bool AddPath(const std::string& path);
    void AddOverlayFile(const std::string& path) override { AddPath(path); }

    // "Copy graphic to clipboard": the plot's picture; possible while the plot shows a chromatogram.
    bool CanCopyGraphic() const override;
    void CopyGraphic() override;

    CMultiChromatogramPlot& Plot() const noexcept { return *m_plot; }
    CPlotToolBar& ToolBar() const noexcept { return *m_toolBar; }
    QComboBox& FileList() const noexcept { return *m_files; }
    int ChosenEntry() const noexcept { return m_previousSelection; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnPlotCommand(int command);
    void ApplyEntryColour(int index, bool chosen);
    void UpdateControls();
    void ForwardToPlot(QMouseEvent* event);

    QComboBox* m_files = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    CPlotToolBar* m_toolBar = nullptr;
    CMultiChromatogramPlot* m_plot = nullptr;
    int m_previousSelection = -1;
};

} // namespace corvelin
