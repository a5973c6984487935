#pragma once
// Every user-visible text of the system goes through one process-wide message sink: the desktop program shows
// message boxes, the batch program writes to stderr and answers questions with their safe default, tests record.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

enum class MessageIcon { None, Information, Exclamation, Stop, Question };
enum class MessageAnswer { Yes, No, Cancel };

class CORVELIN_ENGINE_EXPORT MessageSink {
public:
    virtual ~MessageSink() = default;
    // A modal message box: text, caption (empty = the program's name) and icon.
    virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // A yes/no question; returns true for yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    virtual MessageAnswer AskYesNoCancel(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // The exclamation beep of a refused action.
    virtual void Beep() = 0;
};

// The process-wide sink. Without one installed, messages go to stderr and questions answer no / cancel.
CORVELIN_ENGINE_EXPORT MessageSink& Messages();
// Installs a sink (not owned); nullptr restores the stderr default. Returns the previous one (nullptr if default).
CORVELIN_ENGINE_EXPORT MessageSink* SetMessageSink(MessageSink* sink);

// Routes the calling thread's messages to sink while the scope lives (scopes nest); other threads keep the
// process-wide sink. A worker that reads files ahead of the delivering thread records its messages this way,
// so they can be shown in the order of the files, on one thread.
class CORVELIN_ENGINE_EXPORT CThreadMessageScope {
public:
    explicit CThreadMessageScope(MessageSink* sink);
    ~CThreadMessageScope();
    CThreadMessageScope(const CThreadMessageScope&) = delete;
    CThreadMessageScope& operator=(const CThreadMessageScope&) = delete;

private:
    MessageSink* m_previous;
};

// Shorthand for Messages().ShowMessage.
CORVELIN_ENGINE_EXPORT void ShowMessage(const std::string& text, const std::string& caption = {},
                                        MessageIcon icon = MessageIcon::None);

} // namespace corvelin
