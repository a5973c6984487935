#pragma once
// Base of every page of the main window: holds the shared search options and the operations the main window
// knows a page by (store the controls into the options, refresh the controls from them, may the page be left).
#include <QWidget>

#include "gui/pages/IPageHost.h"

namespace corvelin {

class CSearchOptions;

class CMainPage : public QWidget {
    Q_OBJECT
public:
    CMainPage(CSearchOptions& options, const QString& title, QWidget* parent = nullptr);

    const QString& Title() const noexcept { return m_title; }
    // Validates the controls and stores them into the page's fields and the shared options; false keeps the
    // page as it is (the page has shown its message).
    virtual bool StoreControls() { return true; }
    // Refreshes the controls from the page's fields and the shared options.
    virtual void RefreshControls() {}
    // Whether the user may switch to another page now; a refusing page beeps itself.
    virtual bool CanLeave() { return true; }
    // Called each time the page becomes the active page.
    virtual void OnActivated() {}
    // Called once when the main window first shows, for every page that has a tab (last tab first): the
    // moment the page's window exists. Batch runs start their timers here.
    virtual void OnWindowCreated() {}
    // "Copy graphic to clipboard" of the main window: whether this page has a picture to copy now, and the copy.
    virtual bool CanCopyGraphic() const { return false; }
    virtual void CopyGraphic() {}

    // The window the page belongs to, or nullptr when the page stands alone (tests).
    IPageHost* Host() const noexcept { return m_host; }
    void SetHost(IPageHost* host) noexcept { m_host = host; }

protected:
    CSearchOptions& m_options;

private:
    QString m_title;
    IPageHost* m_host = nullptr;
};

} // namespace corvelin
