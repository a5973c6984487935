#pragma once
// The matrix display: the peak assignment of two compared chromatograms as a retention-time map (horizontal RT
// of "this", vertical RT of "other", growing downwards). Assigned pairs are filled circles in the colour of
// their match value, sized by the "this" peak's area share; unassigned peaks are open circles on the diagonal,
// crossed horizontally ("other") or vertically ("this"). Hovering a circle shows its HTML text; a dragged
// rectangle zooms; the context menu offers "Undo Zoom". The same drawing serves the screen, the printed report
// and the clipboard picture. What is drawn comes from CMatrixDisplayModel (engine/views).
//
// When the colour scheme has no colours, assigned pairs are drawn in black: a scheme whose colours are missing
// reads as black elsewhere too, and black stays visible on paper.
#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

#include "engine/views/MatrixDisplayModel.h"

class QRubberBand;
class QMenu;

namespace corvelin {

class CCellTable;
class CHtmlToolTip;
class CLibraryChromatogram;
class CSpectrumThumbnails;

class CMatrixDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kNoDataText = "This display will contain data after comparing.";
    static constexpr const char* kNoPeaksText = "One of the chromatograms has no peaks.";

    explicit CMatrixDisplay(QWidget* parent = nullptr);
    ~CMatrixDisplay() override;

    // Keeps the references (the owner keeps them alive while set), resets the zoom, drops the spectrum
    // pictures and rebuilds the hover tools. nullptr for any of them clears the display.
    void SetData(const CCellTable* cells, int rows, int columns, const CLibraryChromatogram* self,
                 const CLibraryChromatogram* other);

    // Draws axes and circles into rect with the painter's font: the widget's paint, the report print
    // (printing: circle sizes scaled from screen pixels at 75 per inch to 0.1 mm) and the clipboard picture.
    void Draw(QPainter& painter, const QRect& rect, bool printing) const;

    const CMatrixDisplayModel& Model() const noexcept { return m_model; }
    // A drag from one corner to the other in widget coordinates, as the mouse would make it.
    bool ZoomTo(const QRect& dragged);
    void UndoZoom();
    // The context menu as it would open now (owned by the caller); nullptr without data.
    QMenu* CreateContextMenu();

    // The hover tool under a point (the circle drawn last wins) and its HTML text; empty when none.
    QString ToolTextAt(const QPoint& pos) const;
    int ToolCount() const noexcept { return static_cast<int>(m_tools.size()); }
    // The handle of a peak's spectrum picture (side 1 "this", 2 "other") in the hover tip's registry: drawn when
    // first needed, 150 x 75, with the peak's RT as label; 0 for a peak without spectrum.
    unsigned long PictureHandle(int side, int peak) const;
    // The hover tip (shows for 15 seconds at most; its links come back as linkActivated).
    CHtmlToolTip* Tip() const noexcept { return m_tip; }

signals:
    // A link of a hover text was activated: its message text ("1-Nist-3", "2-Spec-0", ...).
    void linkActivated(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void RebuildTools();
    CMatrixRect Area() const;

    CMatrixDisplayModel m_model;
    const CLibraryChromatogram* m_this = nullptr;
    const CLibraryChromatogram* m_other = nullptr;
    std::vector<CMatrixCircle> m_tools;
    CHtmlToolTip* m_tip = nullptr;
    std::unique_ptr<CSpectrumThumbnails> m_thumbnails;
    QRubberBand* m_band = nullptr;
    QPoint m_dragStart;
    bool m_dragging = false;
};

} // namespace corvelin
