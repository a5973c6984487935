#pragma once
// The desktop program's message sink: modal QMessageBox boxes and QApplication::beep. Calls from a worker
// thread are carried out on the interface thread, so the engine may report from any thread: messages and
// beeps are posted (the worker goes on), questions wait for their answer.
// With a delegate (tests), the calls go to the delegate instead, still on the interface thread.
#include "engine/platform/MessageSink.h"

namespace corvelin {

class CQtMessageSink final : public MessageSink {
public:
    explicit CQtMessageSink(MessageSink* delegate = nullptr) : m_delegate(delegate) {}

    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
    MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Beep() override;
    // A batch run never waits for a modal window: messages go to stderr (caption, colon, text) and beeps are
    // dropped. Questions are still asked.
    void SetBatch(bool batch) noexcept { m_batch = batch; }

private:
    MessageSink* m_delegate;
    bool m_batch = false;
};

// Installs a CQtMessageSink for its lifetime and restores the previous sink afterwards.
class CQtMessageSinkScope {
public:
    explicit CQtMessageSinkScope(MessageSink* delegate = nullptr);
    ~CQtMessageSinkScope();
    CQtMessageSinkScope(const CQtMessageSinkScope&) = delete;
    CQtMessageSinkScope& operator=(const CQtMessageSinkScope&) = delete;

private:
    CQtMessageSink m_sink;
    MessageSink* m_previous;
};

} // namespace corvelin
