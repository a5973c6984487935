#pragma once
// The comparison views of the desktop program written headless as CSV: the peak match table of two
// chromatograms ("/PeakTable="), the mass spec match report of one ("/MSReport=") and the table of the match
// matrix of two ("/MatchMatrix=", which needs "/MatrixOther="; without it nothing is done) and the run view of a
// raw run ("/TIC=" with "/Display="). Without an output
// file the CSV goes to the sink's output, flushed and checked before the outcome is decided, so a full device
// is a report not written. The bytes are those of the pages' exports.
#include <atomic>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CPeakTableRequest& request, std::atomic<bool>& running, CJobSink& sink);
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CMSReportRequest& request, std::atomic<bool>& running, CJobSink& sink);
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CMatchMatrixRequest& request, std::atomic<bool>& running, CJobSink& sink);
// "/Display=<run> /TIC=<csv>": the run view of "Add Chromatogram" as CSV (RunDisplayCsv). A file whose plug-in
// hands over no scans (a peak list) is unreadable here; without "/Display=" nothing is done.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CTicRequest& request, std::atomic<bool>& running, CJobSink& sink);

} // namespace corvelin
