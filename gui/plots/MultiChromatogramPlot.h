#pragma once
// The chromatogram plot: one or more chromatograms as peak triangles on a common baseline over one RT axis and a
// relative-height axis, legends right-aligned in each colour, rubber-band zoom and the zoom menu. The rules
// (ranges, ticks, zoom, hit test) live in CChromatogramPlotModel; this widget paints and routes the mouse.
#include <functional>

#include <QWidget>

#include "engine/views/ChromatogramPlotFrame.h"
#include "engine/views/ChromatogramPlotModel.h"
#include "gui/widgets/DragBand.h"

namespace corvelin {

class CMultiChromatogramPlot : public QWidget {
    Q_OBJECT
public:
    // The zoom menu's command numbers.
    enum Command {
        kShowFullHeight = 40008,
        kShowFullRTRange = 40009,
        kShowFullScale = 40010,
        kMoveLeft = 40031,
        kMoveRight = 40032,
        kRecalibrateRI = 40034,
    };

    explicit CMultiChromatogramPlot(QWidget* parent = nullptr);
    ~CMultiChromatogramPlot() override;

    // properties: a template copied for the new chromatogram (zeroed when null). Returns the new count.
    int AddChromatogram(const CLibraryChromatogram& chromatogram, const CPlotProperties* properties = nullptr);
    bool RemoveChromatogram(const std::string& name);
    void RemoveAll();
    int Count() const noexcept { return m_model.Count(); }
    const CChromatogramPlotModel& Model() const noexcept { return m_model; }
    CChromatogramPlotModel& Model() noexcept { return m_model; }

    void SetView(double xMin, double yMinPercent, double xMax, double yMaxPercent);
    void ShowFullScale();
    void ShowFullHeight();
    void ShowFullRTRange();
    void MoveLeft();
    void MoveRight();

    // The rectangle the traces are mapped into: the widget less the legend and the axis numbers.
    CPixelRect PlotRect() const;
    // Legend, axis numbers and trace area for the widget's current size and font.
    CChromatogramPlotFrame Frame() const;
    CPlotHit HitTest(const QPoint& pos) const { return m_model.HitTest(pos.x(), pos.y(), PlotRect()); }
    // The apex of peak p of chromatogram i in this widget's coordinates.
    QPoint PeakApex(int i, int p) const;

    // Edits an RI calibration table in place (the hosting page opens its options sheet); false when cancelled.
    using RICalibrationEditor = std::function<bool(QWidget* parent, CLibraryRICalibrationData& table)>;
    void SetRICalibrationEditor(RICalibrationEditor editor) { m_editRICalibration = std::move(editor); }
    // Lets the editor change chromatogram i's table; on OK recalibrates it and repaints. False without an editor.
    bool EditRICalibration(int i);

    // When off, mouse presses and releases are left to the parent (the match plot drives both of its plots).
    void SetOwnMouse(bool own) { m_ownMouse = own; }
    // When on, the full-range commands are only reported (the host keeps several plots in step).
    void SetHostHandlesRanges(bool host) { m_hostHandlesRanges = host; }
    // Opens the zoom menu at a global position (no menu without a chromatogram).
    void OpenZoomMenu(const QPoint& globalPos);
    // Carries out a zoom-menu command: the full-range ones itself unless the host handles them; every command
    // is reported through CommandIssued.
    void RunCommand(int command);

signals:
    void CommandIssued(int command);
    void ViewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    RICalibrationEditor m_editRICalibration;
    void Changed();

    CChromatogramPlotModel m_model;
    CDragBand m_band{this};
    bool m_ownMouse = true;
    bool m_hostHandlesRanges = false;
};

// The colour of a plot property as a Qt colour.
QColor PlotColour(std::uint32_t rgb);

} // namespace corvelin
