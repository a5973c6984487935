#include "batch/StderrMessageSink.h"

#include <unistd.h>

namespace corvelin {

void StderrMessageSink::Write(const std::string& text, const std::string& caption)
{
    if (m_hook)
        m_hook(m_context);
    std::string line;
    if (!caption.empty() && caption != "Corvelinscope")
        line = caption + ": ";
    line += text;
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), m_out);
    std::fflush(m_out);
}

void StderrMessageSink::ShowMessage(const std::string& text, const std::string& caption, MessageIcon)
{
    Write(text, caption);
}

bool StderrMessageSink::AskYesNo(const std::string& text, const std::string& caption, MessageIcon)
{
    Write(text + "\n(answered: No)", caption);
    return false;
}

MessageAnswer StderrMessageSink::AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon)
{
    Write(text + "\n(answered: Cancel)", caption);
    return MessageAnswer::Cancel;
}

void StderrMessageSink::Beep()
{
    if (::isatty(::fileno(m_out))) {
        std::fputc('\a', m_out);
        std::fflush(m_out);
    }
}

} // namespace corvelin
