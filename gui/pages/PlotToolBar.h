#pragma once
// The toolbar the match and overlay pages share: move left, full RT range, move right, a separator, 100 % height,
// reset scale. Each button's action is exposed so the page connects it to its plot.
#include <QToolBar>

namespace corvelin {

class CPlotToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CPlotToolBar(QWidget* parent = nullptr);

    QAction* MoveLeft() const noexcept { return m_moveLeft; }
    QAction* FullRTRange() const noexcept { return m_fullRTRange; }
    QAction* MoveRight() const noexcept { return m_moveRight; }
    QAction* FullHeight() const noexcept { return m_fullHeight; }
    QAction* ResetScale() const noexcept { return m_resetScale; }
    // Enables every button (the pages enable them while their plot shows something).
    void SetButtonsEnabled(bool enabled);

private:
    QAction* m_moveLeft;
    QAction* m_fullRTRange;
    QAction* m_moveRight;
    QAction* m_fullHeight;
    QAction* m_resetScale;
};

} // namespace corvelin
