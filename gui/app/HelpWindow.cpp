#include "gui/app/HelpWindow.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "engine/platform/HelpFile.h"
#include "engine/platform/MessageSink.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

namespace {

// The manual's screenshots are wider than the help window; they are shown scaled to its width (a web browser
// scales them with the page's style sheet).
class ManualBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource)
            return resource;
        QImage image = resource.typeId() == QMetaType::QByteArray ? QImage::fromData(resource.toByteArray())
                                                                  : resource.value<QImage>();
        const int width = std::max(320, viewport()->width() - 40);
        if (image.isNull() || image.width() <= width)
            return resource;
        return image.scaledToWidth(width, Qt::SmoothTransformation);
    }
};

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Corvelinscope Help"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    m_browser = new ManualBrowser(this);
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
    // The desktop's browser (xdg-open).
    QDesktopServices::openUrl(m_browser->source());
}

} // namespace corvelin
