#pragma once
// A message sink for tests: records every message and question, answers questions from a queue
// (default: yes / yes), and restores the previous sink when destroyed.
#include <deque>
#include <string>
#include <vector>

#include "engine/platform/MessageSink.h"

namespace corvelin {

class RecordingMessageSink : public MessageSink {
public:
    struct Entry {
        std::string kind; // "message", "yesno", "yesnocancel", "beep"
        std::string text;
        std::string caption;
        MessageIcon icon = MessageIcon::None;
    };

    RecordingMessageSink() { m_previous = SetMessageSink(this); }
    ~RecordingMessageSink() override { SetMessageSink(m_previous); }
    RecordingMessageSink(const RecordingMessageSink&) = delete;
    RecordingMessageSink& operator=(const RecordingMessageSink&) = delete;

    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        entries.push_back({"message", text, caption, icon});
    }
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        entries.push_back({"yesno", text, caption, icon});
        if (answers.empty())
            return true;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a == MessageAnswer::Yes;
    }
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        entries.push_back({"yesnocancel", text, caption, icon});
        if (answers.empty())
            return MessageAnswer::Yes;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Beep() override { entries.push_back({"beep", {}, {}, MessageIcon::Exclamation}); }

    // Texts of all entries of one kind, in order.
    std::vector<std::string> Texts(const std::string& kind = "message") const
    {
        std::vector<std::string> out;
        for (const auto& e : entries)
            if (e.kind == kind)
                out.push_back(e.text);
        return out;
    }

    std::vector<Entry> entries;
    std::deque<MessageAnswer> answers;

private:
    MessageSink* m_previous = nullptr;
};

} // namespace corvelin
