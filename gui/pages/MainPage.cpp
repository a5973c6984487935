#include "pages/MainPage.h"

CMainPage::CMainPage(CSearchOptions& options, const QString& title, QWidget* parent)
    : QWidget(parent), m_options(options), m_title(title)
{
}
