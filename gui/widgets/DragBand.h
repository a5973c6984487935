#pragma once
// The rectangle a left-button drag shows over a widget, from the press to the mouse: the zoom gesture of the
// plots. The widget decides what a finished drag means.
#include <QPoint>

class QRubberBand;
class QWidget;

namespace corvelin {

class CDragBand {
public:
    explicit CDragBand(QWidget* owner) : m_owner(owner) {}

    // Starts a drag at pos (in the owner's coordinates) and shows the empty band there.
    void Press(const QPoint& pos);
    // Stretches the band to pos; false (nothing done) when no drag is in progress.
    bool Move(const QPoint& pos);
    // Ends the drag and hides the band; false when no drag was in progress.
    bool Release();
    const QPoint& Start() const noexcept { return m_start; }

private:
    QWidget* m_owner;
    QRubberBand* m_band = nullptr; // a child of the owner, made at the first press
    QPoint m_start;
    bool m_tracking = false;
};

} // namespace corvelin
