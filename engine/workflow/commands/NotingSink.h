#pragma once
// A job sink that passes everything on to another and keeps the notes in the job's outcome as well, so the
// outcome carries the messages the job gave.
#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CNotingSink final : public CJobSink {
public:
    CNotingSink(CJobSink& next, CJobOutcome& outcome) : m_next(next), m_outcome(outcome) {}
    bool Output(const std::string& bytes) override { return m_next.Output(bytes); }
    bool FlushOutput() override { return m_next.FlushOutput(); }
    void Note(const std::string& line) override
    {
        m_outcome.Messages.push_back(line);
        m_next.Note(line);
    }
    void ProgressRange(int steps) override { m_next.ProgressRange(steps); }
    void ProgressStep() override { m_next.ProgressStep(); }
    void ProgressDone() override { m_next.ProgressDone(); }

private:
    CJobSink& m_next;
    CJobOutcome& m_outcome;
};

} // namespace corvelin
