#include "gui/pages/PagePlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvelin {

CPagePlaceholder::CPagePlaceholder(CSearchOptions& options, const QString& title, QWidget* parent)
    : CMainPage(options, title, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(NotAvailableText(title), this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setEnabled(false);
    layout->addWidget(label);
}

QString CPagePlaceholder::NotAvailableText(const QString& title)
{
    return QStringLiteral("The page \"%1\" is not available in this version of Corvelinscope yet.").arg(title);
}

} // namespace corvelin
