#include "batch/BatchProgram.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>

#include <optional>
#include <variant>

#include "batch/BatchJobSink.h"
#include "batch/StderrMessageSink.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/NistExport.h"
#include "engine/workflow/commands/CommandRun.h"
#include "engine/workflow/commands/StartupCommandLine.h"

namespace corvelin {

namespace {

std::atomic<bool> g_running{false};
std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    // Atomic stores of lock-free atomics are async-signal-safe. A second Ctrl-C ends the program at once.
    g_interrupted.store(true);
    g_running.store(false);
    std::signal(SIGINT, SIG_DFL);
}

// Ctrl-C stops the search while this lives: from the search's start until its report is written, so a stop
// after the last entry (while the table and the report are written) still ends with the report. The previous
// handling comes back at the end.
class InterruptHandling {
public:
    InterruptHandling()
    {
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptHandling() { ::sigaction(SIGINT, &m_previous, nullptr); }
    InterruptHandling(const InterruptHandling&) = delete;
    InterruptHandling& operator=(const InterruptHandling&) = delete;

private:
    struct sigaction m_previous {};
};

} // namespace

int RunBatchProgram(const std::vector<std::string>& args)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--help" || args[i] == "-h" || args[i] == "/?") {
            std::fputs(UsageText(kBatchProgram).c_str(), stdout);
            return kExitOk;
        }

    StderrMessageSink messages;
    SetMessageSink(&messages);
    BatchJobSink sink(messages);
    CJobOutcome outcome;
    try {
        CSearchOptions startup;
        startup.LoadLastUsed("Global");
        try {
            CreateDatasystemPlugins();
        } catch (const std::exception&) {
            outcome.Fail(JobFailure::NoPlugins);
        }
        if (outcome.Failure == JobFailure::None) {
            const CCommandLine line = ParseStartupCommandLine(args, startup, kBatchProgram, sink);
            const CCommandRequest request = MakeCommandRequest(line, startup);
            if (std::holds_alternative<CNoCommandRequest>(request))
                std::fputs(UsageText(kBatchProgram).c_str(), stderr);
            g_running.store(true);
            std::optional<InterruptHandling> interrupts;
            // A shard task cancelled by its scheduler (SIGTERM) leaves no temporary file; Ctrl-C stops a search.
            if (std::holds_alternative<CUnknownsRequest>(request))
                InstallTemporaryFileCleanup();
            if (std::holds_alternative<CSearchRequest>(request) || std::holds_alternative<CUnknownsRequest>(request))
                interrupts.emplace();
            outcome = Run(request, g_running, sink);
            // Ctrl-C at any time up to here (also after the last entry) gives 130; the report was written all the
            // same.
            if (g_interrupted.load())
                outcome.Fail(JobFailure::Interrupted);
        }
    } catch (...) {
        outcome = InternalErrorOutcome(std::current_exception(), "corvelinscope-batch", sink);
    }
    SetDatasystemPlugins(nullptr);
    DeleteNistTemporaryFiles();
    SetMessageSink(nullptr);
    return outcome.ExitCode();
}

} // namespace corvelin
