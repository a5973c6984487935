#pragma once
// The run plot of "Add Chromatogram": a raw run's total-ion chromatogram with the detected peaks marked (apex,
// start, end), extracted-ion chromatograms in colour, rubber-band zoom and the zoom menu; a click on a peak
// reports it. What is drawn and the hit test come from CRunPlotModel; this widget paints and routes the mouse.
#include <QWidget>

#include "engine/views/RunPlotModel.h"

class QRubberBand;

namespace corvelin {

class CRunPlot : public QWidget {
    Q_OBJECT
public:
    explicit CRunPlot(QWidget* parent = nullptr);

    CRunPlotModel& Model() noexcept { return m_model; }
    const CRunPlotModel& Model() const noexcept { return m_model; }
    // The peak drawn highlighted (-1 = none).
    void SelectPeak(int peak);
    int SelectedPeak() const noexcept { return m_selected; }
    void ShowFullScale();
    // Repaint after the model changed.
    void Refresh() { update(); }

    CPixelRect PlotRect() const;
    // Where peak p's apex is drawn, in this widget's coordinates (tests click there).
    QPoint PeakApex(int p) const;
    // The colour of ion trace i.
    static QColor TraceColour(std::size_t i);

    QSize sizeHint() const override { return {600, 260}; }

signals:
    void PeakClicked(int peak);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CRunPlotModel m_model;
    QRubberBand* m_band = nullptr;
    QPoint m_pressPos;
    bool m_tracking = false;
    int m_selected = -1;
};

} // namespace corvelin
