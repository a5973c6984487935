#pragma once
// The library search as a job of the command line ("/Search="), and the end of a batch search that the desktop
// program's timed batch search shares with it: print when "/Print" was given, save the CSV report when "/Save"
// was given or "/Print" was not.
#include <atomic>
#include <functional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

class CReportTable;
class CSearchSession;
struct CSearchReport;

// Runs the search: the hit list (aligned text) goes to the sink's output, the notes (no library folder, too many
// peaks, a stopped search, the report's name) to its notes, the report next to the unknown.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CSearchRequest& request, std::atomic<bool>& running, CJobSink& sink);

// The end of a batch search on its finished hit list: print calls the program's printing when the session
// prints; the report is written when it saves ("Report written to <path>", a failure is ReportNotWritten) next to
// the unknown, or to file when one is given (replacing it), otherwise the note says the results were not saved.
// The outcome holds only what this end did.
CORVELIN_ENGINE_EXPORT CJobOutcome EndBatchSearch(const CSearchSession& session, const CSearchReport& report,
                                                  const CSearchOptions& options, const CReportTable& hits,
                                                  const std::function<void()>& print, CJobSink& sink,
                                                  const std::string& file = {});

} // namespace corvelin
