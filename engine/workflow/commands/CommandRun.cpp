#include "engine/workflow/commands/CommandRun.h"

#include <new>
#include <string>
#include <type_traits>

#include "engine/workflow/commands/ConversionJobs.h"
#include "engine/workflow/commands/NotingSink.h"
#include "engine/workflow/commands/ScaleOutJobs.h"
#include "engine/workflow/commands/SearchJob.h"
#include "engine/workflow/commands/SummaryJob.h"
#include "engine/workflow/commands/ViewExportJobs.h"

namespace corvelin {

CJobOutcome Run(const CCommandRequest& request, std::atomic<bool>& running, CJobSink& sink)
{
    try {
        return std::visit(
            [&](const auto& r) {
                if constexpr (std::is_same_v<std::decay_t<decltype(r)>, CNoCommandRequest>) {
                    CJobOutcome outcome;
                    outcome.Fail(JobFailure::NothingToDo);
                    return outcome;
                } else {
                    return Run(r, running, sink);
                }
            },
            request);
    } catch (...) {
        return InternalErrorOutcome(std::current_exception(), "corvelinscope-batch", sink);
    }
}

CJobOutcome InternalErrorOutcome(const std::exception_ptr& error, const char* program, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    std::string what = "an unexpected error";
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        what = "out of memory; nothing more was done";
    } catch (const std::exception& e) {
        what = std::string("internal error: ") + e.what();
    } catch (...) {
        what = "internal error of an unknown kind";
    }
    sink.Note(std::string(program) + ": " + what);
    outcome.Fail(JobFailure::InternalError);
    return outcome;
}

} // namespace corvelin
