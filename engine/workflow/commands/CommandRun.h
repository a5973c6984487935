#pragma once
// Runs a request of the command line: the one entry point of every command. An exception that escapes a job
// (out of memory, anything unexpected) ends it as an internal error that says what happened, never as
// "nothing to do".
#include <atomic>
#include <exception>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

// Runs the request's job. running is the job's own stop state (cleared to stop it); a CNoCommandRequest ends
// with NothingToDo and no note (the program shows its usage).
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CCommandRequest& request, std::atomic<bool>& running, CJobSink& sink);

// The outcome of a job ended by this exception: InternalError with the note "<program>: <what happened>"
// ("out of memory" for std::bad_alloc).
CORVELIN_ENGINE_EXPORT CJobOutcome InternalErrorOutcome(const std::exception_ptr& error, const char* program,
                                                        CJobSink& sink);

} // namespace corvelin
