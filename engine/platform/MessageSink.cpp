#include "engine/platform/MessageSink.h"

#include <atomic>
#include <cstdio>

namespace corvelin {

namespace {

class StderrSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override
    {
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    }
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        ShowMessage(text, caption, icon);
        return false;
    }
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        ShowMessage(text, caption, icon);
        return MessageAnswer::Cancel;
    }
    void Beep() override {}
};

StderrSink g_stderrSink;
std::atomic<MessageSink*> g_sink{nullptr};
thread_local MessageSink* t_threadSink = nullptr;

} // namespace

MessageSink& Messages()
{
    if (t_threadSink)
        return *t_threadSink;
    MessageSink* sink = g_sink.load();
    return sink ? *sink : g_stderrSink;
}

MessageSink* SetMessageSink(MessageSink* sink)
{
    return g_sink.exchange(sink);
}

CThreadMessageScope::CThreadMessageScope(MessageSink* sink) : m_previous(t_threadSink)
{
    t_threadSink = sink;
}

CThreadMessageScope::~CThreadMessageScope()
{
    t_threadSink = m_previous;
}

void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    Messages().ShowMessage(text, caption, icon);
}

} // namespace corvelin
