#include "gui/app/HelpWindow.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "engine/platform/HelpFile.h"
#include "engine/platform/MessageSink.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Corvelinscope Help"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    // Links to the web or to other programs go to the desktop; the manual's own pages stay here.
    m_browser->setOpenExternalLinks(true);
    layout->addWidget(m_browser, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* contents = buttons->addButton(QStringLiteral("&Contents"), QDialogButtonBox::ActionRole);
    QPushButton* back = buttons->addButton(QStringLiteral("&Back"), QDialogButtonBox::ActionRole);
    QPushButton* browser = buttons->addButton(QStringLiteral("Open in &web browser"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(contents, &QPushButton::clicked, this, [this] { m_browser->setSource(m_index); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(browser, &QPushButton::clicked, this, &CHelpWindow::OnOpenInBrowser);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(820, 640);
}

bool CHelpWindow::ShowContext(const std::string& indexPath, int context)
{
    const QFileInfo index(ToQString(indexPath));
    if (!index.isFile()) {
        ShowMessage("The manual was not found: " + indexPath, "Help", MessageIcon::Exclamation);
        return false;
    }
    m_index = QUrl::fromLocalFile(index.absoluteFilePath());
    // The target is "page.html#anchor"; resolved against the index, it names a page beside it.
    m_browser->setSource(m_index.resolved(QUrl(ToQString(HelpTarget(context)))));
    show();
    raise();
    activateWindow();
    return true;
}

QUrl CHelpWindow::Shown() const
{
    return m_browser->source();
}

void CHelpWindow::OnOpenInBrowser()
{
    // The desktop's browser (xdg-open); it gets the page, as browsers opened that way may drop the anchor.
    QUrl page = m_browser->source();
    QDesktopServices::openUrl(page);
}

} // namespace corvelin
