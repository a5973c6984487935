#include "gui/app/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "gui/widgets/QtText.h"

namespace corvelin {

namespace {

// Runs fn on the interface thread and waits for it (questions need their answer).
template <typename Fn> void OnInterfaceThread(Fn&& fn)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        fn();
    else
        QMetaObject::invokeMethod(app, std::forward<Fn>(fn), Qt::BlockingQueuedConnection);
}

// Runs fn on the interface thread without waiting when called from another thread: a worker that reports a
// message or beeps goes on, so it never waits for an interface thread that is waiting for the worker.
template <typename Fn> void PostToInterfaceThread(Fn fn)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        fn();
    else
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

QMessageBox::Icon ToBoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption)
{
    return caption.empty() ? QStringLiteral("Corvelinscope") : ToQString(caption);
}

int RunBox(const std::string& text, const std::string& caption, MessageIcon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(ToBoxIcon(icon), Caption(caption), ToQString(text), buttons, QApplication::activeWindow());
    return box.exec();
}

} // namespace

void CQtMessageSink::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (m_batch && !m_delegate) {
        std::fprintf(stderr, "%s: %s\n", caption.empty() ? "Corvelinscope" : caption.c_str(), text.c_str());
        return;
    }
    PostToInterfaceThread([this, text, caption, icon] {
        if (m_delegate)
            m_delegate->ShowMessage(text, caption, icon);
        else
            RunBox(text, caption, icon, QMessageBox::Ok);
    });
}

bool CQtMessageSink::AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon)
{
    bool yes = false;
    OnInterfaceThread([&] {
        if (m_delegate)
            yes = m_delegate->AskYesNo(text, caption, icon);
        else
            yes = RunBox(text, caption, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    return yes;
}

MessageAnswer CQtMessageSink::AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon)
{
    MessageAnswer answer = MessageAnswer::Cancel;
    OnInterfaceThread([&] {
        if (m_delegate) {
            answer = m_delegate->AskYesNoCancel(text, caption, icon);
            return;
        }
        const int button = RunBox(text, caption, icon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        answer = button == QMessageBox::Yes  ? MessageAnswer::Yes
                 : button == QMessageBox::No ? MessageAnswer::No
                                             : MessageAnswer::Cancel;
    });
    return answer;
}

void CQtMessageSink::Beep()
{
    if (m_batch && !m_delegate)
        return;
    PostToInterfaceThread([this] {
        if (m_delegate)
            m_delegate->Beep();
        else
            QApplication::beep();
    });
}

CQtMessageSinkScope::CQtMessageSinkScope(MessageSink* delegate) : m_sink(delegate)
{
    m_previous = SetMessageSink(&m_sink);
}

CQtMessageSinkScope::~CQtMessageSinkScope()
{
    SetMessageSink(m_previous);
}

} // namespace corvelin
