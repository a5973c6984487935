#pragma once
// The colour-scale strip under the match views: the user's current colour scheme from the lowest match (left)
// to the highest (right), with the match values of the band edges written under it. Its context menu lists the defined
// schemes (command 10000 + scheme index, the current one checked); choosing one makes it the user's scheme and repaints
// the strip and its parent, whose plot then takes the new colours.
#include <QWidget>
#include <vector>

class QMenu;
class QPainter;

namespace corvelin {

class CColorScale : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstSchemeCommand = 10000;

    explicit CColorScale(QWidget* parent = nullptr);

    // The band edges for n colours over [left, left + width): edge i = left + trunc(width / n x i), computed
    // in floating point, so the bands tile the strip without gaps. n + 1 edges; none for n < 1.
    static std::vector<int> BandEdges(int left, int width, int n);

    // Draws the strip and its numbers into rect with the painter's font (the screen and the printed report).
    static void Draw(QPainter& painter, const QRect& rect);

    // The context menu as it would open now (owned by the caller); each action's data is its command.
    QMenu* CreateSchemeMenu();
    // A chosen menu command: selects scheme command - 10000 and repaints.
    void OnSchemeCommand(int command);

    QSize sizeHint() const override;

signals:
    // After the user chose a scheme (the parent has been asked to repaint).
    void schemeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace corvelin
