#pragma once
// The hover window of the plots and lists: shows a small HTML text (see TipHtml.h) when the mouse rests over its
// host, with pictures from its picture registry, and reports a clicked link's message text to the host. It
// stays up while the mouse moves from the host into it, so its links can be reached, and hides after the hide
// delay, on a click in the host, or when the mouse leaves it.
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "gui/widgets/HtmlPictures.h"
#include "gui/widgets/TipHtml.h"

namespace corvelin {

class CHtmlToolTip : public QWidget {
    Q_OBJECT
public:
    // The text for a point of the host (host coordinates); empty = no tip there.
    using TextProvider = std::function<std::string(const QPoint& hostPos)>;

    // Watches host's mouse; the tip is a top-level window owned by host.
    explicit CHtmlToolTip(QWidget* host);
    ~CHtmlToolTip() override;

    void SetTextProvider(TextProvider provider) { m_provider = std::move(provider); }
    // A child window of the host whose mouse counts as the host's (positions are mapped to the host).
    void WatchChild(QWidget* child);
    // Fixed texts for rectangles of the host; the first rectangle holding the point wins over the provider.
    void ClearTools() { m_tools.clear(); }
    void AddTool(const QRect& rect, std::string text) { m_tools.push_back({rect, std::move(text)}); }
    std::size_t ToolCount() const noexcept { return m_tools.size(); }
    void SetDelays(int initialMs, int hideMs);
    int InitialDelay() const noexcept { return m_showTimer.interval(); }
    int HideDelay() const noexcept { return m_hideTimer.interval(); }

    CHtmlPictures& Pictures() noexcept { return m_pictures; }

    std::string TextAt(const QPoint& hostPos) const;
    // Shows text with its top-left corner near globalPos (kept on the screen); empty text hides the tip.
    void ShowText(const std::string& text, const QPoint& globalPos);
    void HideTip();
    const std::string& ShownText() const noexcept { return m_shownText; }
    const CTipHtml& ShownTip() const noexcept { return m_tip; }
    const QTextDocument& Document() const noexcept { return m_document; }
    // The message text of the link under pos (tip coordinates), or nullptr.
    const std::string* LinkAt(const QPoint& pos) const;

signals:
    void LinkActivated(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Tool {
        QRect Rect;
        std::string Text;
    };

    void ShowNow();
    void GraceOver();

    QWidget* m_host;
    std::vector<QWidget*> m_children;
    TextProvider m_provider;
    std::vector<Tool> m_tools;
    CHtmlPictures m_pictures;
    QTextDocument m_document;
    CTipHtml m_tip;
    std::string m_shownText;
    QPoint m_hostPos;
    bool m_mouseInside = false; // in the tip
    bool m_mouseInHost = false;
    QTimer m_showTimer;  // the initial delay
    QTimer m_hideTimer;  // the hide delay
    QTimer m_graceTimer; // time to move from the host into the tip
};

} // namespace corvelin
