#pragma once
// The batch program's message sink: every message goes to stderr (caption first when it is not the program's
// name), questions are answered with their safe default (no / cancel) and say so, the beep is a bell on a
// terminal only.
#include <cstdio>

#include "engine/platform/MessageSink.h"

namespace corvelin {

class StderrMessageSink : public MessageSink {
public:
    explicit StderrMessageSink(std::FILE* out = stderr) : m_out(out) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Beep() override;

    // Called before a message is written (the progress bar clears its line).
    void SetBeforeWrite(void (*hook)(void*), void* context)
    {
        m_hook = hook;
        m_context = context;
    }

private:
    void Write(const std::string& text, const std::string& caption);
    std::FILE* m_out;
    void (*m_hook)(void*) = nullptr;
    void* m_context = nullptr;
};

} // namespace corvelin
