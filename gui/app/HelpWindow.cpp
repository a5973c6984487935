#include "gui/app/HelpWindow.h"

#include <QProcess>
#include <QScrollBar>
#include <QTimer>
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
// scales them with the page's style sheet), also after the window was resized.
class ManualBrowser : public QTextBrowser {
public:
    explicit ManualBrowser(QWidget* parent) : QTextBrowser(parent)
    {
        m_rescale.setSingleShot(true);
        m_rescale.setInterval(150);
        QObject::connect(&m_rescale, &QTimer::timeout, this, [this] {
            // Loading the page again asks for its pictures again, at the new width; the reader keeps his place.
            const int position = verticalScrollBar()->value();
            m_scaledFor = viewport()->width();
            reload();
            verticalScrollBar()->setValue(position);
        });
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QTextBrowser::resizeEvent(event);
        if (!source().isEmpty() && viewport()->width() != m_scaledFor)
            m_rescale.start();
    }

public:
    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource)
            return resource;
        QImage image = resource.typeId() == QMetaType::QByteArray ? QImage::fromData(resource.toByteArray())
                                                                  : resource.value<QImage>();
        m_scaledFor = viewport()->width();
        const int width = std::max(320, viewport()->width() - 40);
        if (image.isNull() || image.width() <= width)
            return resource;
        return image.scaledToWidth(width, Qt::SmoothTransformation);
    }

private:
    QTimer m_rescale;
    int m_scaledFor = -1;
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
    // Shown first, so that the pictures are scaled to the width the window really has.
    show();
    // The target is "page.html#anchor"; resolved against the index, it names a page beside it.
    m_browser->setSource(m_index.resolved(QUrl(ToQString(HelpTarget(context)))));
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
    // The desktop's browser through xdg-open, watched: a desktop without a browser says so instead of nothing.
    const QString page = m_browser->source().toString();
    auto* opener = new QProcess(this);
    const auto refuse = [page](const QString& why) {
        ShowMessage(ToStdString(QStringLiteral("No web browser could be started: %1.\nOpen %2 in a browser yourself, "
                                               "or set one up (for example: xdg-settings set default-web-browser "
                                               "firefox.desktop).")
                                    .arg(why, page)),
                    "Help", MessageIcon::Exclamation);
    };
    connect(opener, &QProcess::errorOccurred, this, [opener, refuse](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            refuse(QStringLiteral("xdg-open is not installed"));
            opener->deleteLater();
        }
    });
    connect(opener, &QProcess::finished, this, [opener, refuse](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            refuse(code == 3 ? QStringLiteral("xdg-open found no program for web pages")
                             : QStringLiteral("xdg-open ended with error %1").arg(code));
        opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {page});
}

} // namespace corvelin
