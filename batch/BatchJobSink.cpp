#include "batch/BatchJobSink.h"

#include "batch/StderrMessageSink.h"

namespace corvelin {

void BatchJobSink::ProgressRange(int steps)
{
    m_messages.SetBeforeWrite(&ProgressBar::ClearHook, &m_bar);
    m_bar.SetRange(steps);
}

void BatchJobSink::ProgressDone()
{
    m_bar.Clear();
    m_messages.SetBeforeWrite(nullptr, nullptr);
}

} // namespace corvelin
