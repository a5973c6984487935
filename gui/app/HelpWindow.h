#pragma once
// The program's help window: shows the HTML manual at the section of a help context. One window per main
// window, reused by every request; it stays open beside the program (not modal).
#include <QDialog>
#include <QUrl>
#include <string>

class QTextBrowser;

namespace corvelin {

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the section of context (HelpTarget) of the manual whose index file is indexPath and raises the
    // window. False, with a message naming the path, when the manual is not there.
    bool ShowContext(const std::string& indexPath, int context);

    QTextBrowser* Browser() const noexcept { return m_browser; }
    // The page and anchor shown ("file:///.../pages.html#library-search").
    QUrl Shown() const;

private:
    void OnOpenInBrowser();

    QTextBrowser* m_browser = nullptr;
    QUrl m_index;
};

} // namespace corvelin
