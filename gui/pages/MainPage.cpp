#include "gui/pages/MainPage.h"

namespace corvelin {

CMainPage::CMainPage(CSearchOptions& options, const QString& title, QWidget* parent)
    : QWidget(parent), m_options(options), m_title(title)
{
}

} // namespace corvelin
