#pragma once
// The main window: menu bar, one tab per page, OK and Cancel. It owns the shared search options and every
// page, lets pages reach each other, routes menu commands and guards the exit against unsaved search results.
#include <QDialog>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "engine/options/SearchOptions.h"
#include "gui/pages/IPageHost.h"

class QAction;
class QMenu;
class QTabWidget;

namespace corvelin {
class CMainPage;
class CPageLibrarySearch;
class CPageChromatogramAdd;
class CHelpWindow;

class CLibraryManagerSheet : public QDialog, public IPageHost {
    Q_OBJECT
public:
    // Reads the page visibility settings (machine-wide section "Corvelinscope") and builds every page.
    // startedWithArguments picks the second program icon.
    explicit CLibraryManagerSheet(bool startedWithArguments = false, QWidget* parent = nullptr);
    ~CLibraryManagerSheet() override;

    CSearchOptions& Options() noexcept { return m_options; }
    CPageLibrarySearch* LibrarySearchPage() const noexcept;
    CPageChromatogramAdd* ChromatogramAddPage() const noexcept;
    CMainPage* ActivePage() const;

    // The page host.
    CMainPage* Page(PageId id) const noexcept override;
    bool IsPageAdded(PageId id) const noexcept override;
    bool ActivatePage(PageId id) override;
    PageHandOff ShowChromatogramMatch(const std::string& thisPath, const std::string& otherPath) override;
    PageHandOff BuildMatchMatrix(const std::string& thisPath, const std::string& otherPath) override;
    PageHandOff BuildPeakMatchTable(const std::string& thisPath, const std::string& otherPath) override;
    PageHandOff AddToOverlay(const std::vector<std::string>& paths) override;
    void PostOk() override;
    void EndWithoutQuestions() override;

    // Menu commands, also reachable for tests.
    void OnOpenParameterFile();
    void OnSaveParameterFile();
    void OnExit();
    void OnAbout();
    // The program options dialog; on OK the optional pages it switched on or off get or lose their tab at once.
    void OnProgramOptions();
    void ApplyShownPages();
    // Help: the manual's section of a context (HelpFile.h) in the help window; F1 asks for the context of what
    // the user looks at (HelpKey.h), "&Manual ..." of the "&?" menu for the index.
    void ShowHelp(int context);
    void SetHelpPath(const std::string& path) { m_helpPath = path; }
    const std::string& HelpPath() const noexcept { return m_helpPath; }
    // The help context of the active page: its tab number in the full tab order (1 to 8).
    int ActivePageHelpContext() const;
    // The help window help was last shown in (the main window's, or that of the modal dialog F1 was pressed in);
    // nullptr before the first help.
    CHelpWindow* HelpWindow() const;

    // The menu actions by their texts (tests and the page's own enabling rules).
    QAction* MenuAction(const QString& text) const;
    // Applies the enabling rules of all menu items as when a menu opens.
    void UpdateMenuItems();

public slots:
    void accept() override; // OK
    void reject() override; // Cancel, close box, Escape

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenus();
    void OnTabChanged(int index);

    CSearchOptions m_options;
    std::array<CMainPage*, PageCount> m_pages{};
    std::array<bool, PageCount> m_added{};
    QTabWidget* m_tabs = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_printMenu = nullptr;
    QMenu* m_extrasMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_printMatrix = nullptr;
    QAction* m_printSearch = nullptr;
    QAction* m_copyGraphic = nullptr;
    int m_currentTab = 0;
    bool m_revertingTab = false;
    bool m_shownOnce = false;
    std::string m_helpPath;
    CHelpWindow* m_helpWindow = nullptr;
    QPointer<CHelpWindow> m_shownHelp;
};

} // namespace corvelin
