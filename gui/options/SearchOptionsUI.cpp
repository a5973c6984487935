#include "gui/options/SearchOptionsUI.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchBasicOptions.h"
#include "gui/options/SearchMassspecs.h"
#include "gui/options/SearchOptionsRICalibration.h"
#include "gui/options/SearchOptionsSummary.h"

namespace corvelin {

namespace {
CSearchOptionsUI::ExecHook g_execHook = nullptr;
}

CSearchOptionsPage* CSearchOptionsUI::Page(PageKind kind) const
{
    for (CSearchOptionsPage* page : m_pages) {
        const bool match = (kind == Basic && qobject_cast<CSearchBasicOptions*>(page)) ||
                           (kind == MassSpec && qobject_cast<CSearchMassspecs*>(page)) ||
                           (kind == RICalibration && qobject_cast<CSearchOptionsRICalibration*>(page)) ||
                           (kind == Summary && qobject_cast<CSearchOptionsSummary*>(page));
        if (match)
            return page;
    }
    return nullptr;
}

CSearchOptionsUI::CSearchOptionsUI(const QString& title, CSearchOptions& record, const std::vector<PageKind>& pages,
                                   QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setWindowTitle(title);
    setSizeGripEnabled(true);
    m_tabs = new QTabWidget(this);
    for (PageKind kind : pages) {
        CSearchOptionsPage* page = nullptr;
        switch (kind) {
        case Basic:
            page = new CSearchBasicOptions(m_record, m_tabs);
            break;
        case MassSpec:
            page = new CSearchMassspecs(m_record, m_tabs);
            break;
        case RICalibration:
            page = new CSearchOptionsRICalibration(m_record, m_tabs);
            break;
        case Summary:
            page = new CSearchOptionsSummary(m_record, m_tabs);
            break;
        }
        m_pages.push_back(page);
        m_tabs->addTab(page, page->Title());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSearchOptionsUI::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSearchOptionsUI::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CSearchOptionsUI::OnTabChanged);
    if (!m_pages.empty())
        m_pages.front()->OnSetActive();
    resize(640, 520);
}

void CSearchOptionsUI::SetExecHook(ExecHook hook)
{
    g_execHook = hook;
}

bool CSearchOptionsUI::Edit(QWidget* parent, const QString& title, CSearchOptions& options, std::vector<PageKind> pages)
{
    CSearchOptions copy(options);
    CSearchOptionsUI sheet(title, copy, pages, parent);
    const int result = g_execHook ? g_execHook(sheet) : sheet.exec();
    if (result != QDialog::Accepted)
        return false;
    options = copy;
    return true;
}

void CSearchOptionsUI::OnTabChanged(int index)
{
    if (m_reverting)
        return;
    CSearchOptionsPage* previous = m_current >= 0 && m_current < static_cast<int>(m_pages.size())
                                       ? m_pages[static_cast<std::size_t>(m_current)]
                                       : nullptr;
    if (previous && index != m_current && !previous->OnKillActive()) {
        m_reverting = true;
        m_tabs->setCurrentIndex(m_current);
        m_reverting = false;
        return;
    }
    m_current = index;
    if (index >= 0 && index < static_cast<int>(m_pages.size()))
        m_pages[static_cast<std::size_t>(index)]->OnSetActive();
}

void CSearchOptionsUI::accept()
{
    // The active page first (it may refuse), then every page's OK.
    if (m_current >= 0 && m_current < static_cast<int>(m_pages.size()) &&
        !m_pages[static_cast<std::size_t>(m_current)]->OnKillActive())
        return;
    for (CSearchOptionsPage* page : m_pages)
        if (!page->OnOK()) {
            m_tabs->setCurrentWidget(page);
            return;
        }
    QDialog::accept();
}

} // namespace corvelin
