#pragma once
// The search options property sheet: the pages a caller asks for, all editing one working copy of the
// caller's options. OK on the sheet stores every created page into the copy and copies it back; Cancel drops it.
#include <QDialog>
#include <initializer_list>
#include <vector>

#include "engine/options/SearchOptions.h"

class QTabWidget;

namespace corvelin {
class CSearchOptionsPage;

class CSearchOptionsUI : public QDialog {
    Q_OBJECT
public:
    enum PageKind { Basic, MassSpec, RICalibration, Summary };

    // record: the working copy the pages edit (not owned).
    CSearchOptionsUI(const QString& title, CSearchOptions& record, const std::vector<PageKind>& pages,
                     QWidget* parent = nullptr);

    // Opens the sheet modally on a deep copy of options with these pages; on OK copies the copy back and
    // returns true. The caller refreshes its controls then.
    static bool Edit(QWidget* parent, const QString& title, CSearchOptions& options, std::vector<PageKind> pages);

    CSearchOptions& Record() noexcept { return m_record; }
    CSearchOptionsPage* Page(PageKind kind) const;
    QTabWidget* Tabs() const noexcept { return m_tabs; }

    // Tests open the sheet without exec: this hook, when set, is called with the sheet instead of exec() and
    // returns the dialog result.
    using ExecHook = int (*)(CSearchOptionsUI& sheet);
    static void SetExecHook(ExecHook hook);

public slots:
    void accept() override;

private:
    void OnTabChanged(int index);

    CSearchOptions& m_record;
    QTabWidget* m_tabs = nullptr;
    std::vector<CSearchOptionsPage*> m_pages;
    int m_current = 0;
    bool m_reverting = false;
};

} // namespace corvelin
