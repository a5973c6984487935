#pragma once
// A page of the main window whose function this version does not offer yet: it keeps the tab in its place
// and says so.
#include "gui/pages/MainPage.h"

namespace corvelin {

class CPagePlaceholder : public CMainPage {
    Q_OBJECT
public:
    CPagePlaceholder(CSearchOptions& options, const QString& title, QWidget* parent = nullptr);

    // The text shown on the page and in the message of a hand-off to it.
    static QString NotAvailableText(const QString& title);
};

} // namespace corvelin
