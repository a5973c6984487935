#pragma once
// Base of every page of the main window: holds the shared search options and the operations the main window
// knows a page by (store the controls into the options, refresh the controls from them, may the page be left).
#include <QWidget>

namespace corvelin {

class CSearchOptions;
class CLibraryManagerSheet;

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

    // The main window the page belongs to, or nullptr when the page stands alone (tests, other hosts).
    CLibraryManagerSheet* Sheet() const noexcept { return m_sheet; }
    void SetSheet(CLibraryManagerSheet* sheet) noexcept { m_sheet = sheet; }

protected:
    CSearchOptions& m_options;

private:
    QString m_title;
    CLibraryManagerSheet* m_sheet = nullptr;
};

} // namespace corvelin
