#pragma once
// The batch program's job sink: the product to stdout, notes to stderr, a search's progress as a bar on a
// terminal that any message clears first.
#include "batch/ProgressBar.h"
#include "engine/workflow/commands/StdioJobSink.h"

namespace corvelin {

class StderrMessageSink;

class BatchJobSink final : public CStdioJobSink {
public:
    explicit BatchJobSink(StderrMessageSink& messages) : m_messages(messages) {}
    ~BatchJobSink() override { ProgressDone(); }
    BatchJobSink(const BatchJobSink&) = delete;
    BatchJobSink& operator=(const BatchJobSink&) = delete;

    void ProgressRange(int steps) override;
    void ProgressStep() override { m_bar.Step(); }
    void ProgressDone() override;

private:
    StderrMessageSink& m_messages;
    ProgressBar m_bar;
};

} // namespace corvelin
