#pragma once
// A job sink on the standard streams: the product to stdout, notes to stderr (one line each).
#include <cstdio>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CStdioJobSink : public CJobSink {
public:
    bool Output(const std::string& bytes) override;
    // fflush, then the stream's error state: a write that failed in the buffer shows here.
    bool FlushOutput() override;
    void Note(const std::string& line) override;
};

} // namespace corvelin
