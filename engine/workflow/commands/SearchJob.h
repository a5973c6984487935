#pragma once
// The library search as a job of the command line ("/Search="), which the desktop program's timed batch search
// runs too, and the end of a batch search: print when "/Print" was given, save the CSV report when "/Save" was
// given or "/Print" was not.
#include <atomic>
#include <functional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/SearchReport.h"
#include "engine/workflow/SearchSession.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

// Runs the search: the hit list (aligned text) goes to the sink's output, the notes (no library folder, too many
// peaks, a stopped search, the report's name) to its notes, the report next to the unknown. It is SearchForJob
// and EndSearchJob in one, /Print noting that printing needs the desktop program.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CSearchRequest& request, std::atomic<bool>& running, CJobSink& sink);

// The job in its two halves, for a caller that ends it on another thread (the desktop program prints on its
// interface thread). The first half searches: the session set up from the request, the finished hit list, the
// report record, and the outcome so far.
struct CORVELIN_ENGINE_EXPORT CSearchJobSearch {
    CJobOutcome Outcome;
    CSearchSession Session;
    CLibrarySearchResult Result;
    CReportTable Hits;
    CSearchReport Report;
    bool Searched = false; // false: refused before searching (the outcome says why; nothing to end)
};
// The first half; also (optional) receives the search's callbacks as they come.
CORVELIN_ENGINE_EXPORT CSearchJobSearch SearchForJob(const CSearchRequest& request, std::atomic<bool>& running,
                                                     CJobSink& sink, const CLibrarySearchCallbacks& also = {});
// The second half: EndBatchSearch on the searched hit list, its failure, notes and files added to the search's
// outcome, which it returns. Nothing is done when the search was refused.
CORVELIN_ENGINE_EXPORT CJobOutcome EndSearchJob(CSearchJobSearch& search, const CSearchRequest& request,
                                                const std::function<void()>& print, CJobSink& sink);

// The end of a batch search on its finished hit list: print calls the program's printing when the session
// prints; the report is written when it saves ("Report written to <path>", a failure is ReportNotWritten) next to
// the unknown, or to file when one is given (replacing it), otherwise the note says the results were not saved.
// The outcome holds only what this end did.
CORVELIN_ENGINE_EXPORT CJobOutcome EndBatchSearch(const CSearchSession& session, const CSearchReport& report,
                                                  const CSearchOptions& options, const CReportTable& hits,
                                                  const std::function<void()>& print, CJobSink& sink,
                                                  const std::string& file = {});

} // namespace corvelin
