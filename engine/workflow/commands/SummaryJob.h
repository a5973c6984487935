#pragma once
// The multi-file peak summary as a job of the command line: "/Summary=<file.csv>" with one or more
// "/SummaryOf=<data file or folder>" writes the summary CSV that the desktop page's "Export" writes, from the
// options the command line set up (the Show and ISTD options come from the "/Params=" file).
#include <atomic>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

// The input files in command-line order: a file as given, a folder as its files (by name) that a loaded
// plug-in's Extension matches. A file named twice (in any spelling) is taken once (ResolveSummaryInputs).
CORVELIN_ENGINE_EXPORT std::vector<std::string> SummaryInputs(const std::vector<std::string>& given);

// Runs the summary: every input left out is noted with its reason; Unreadable when no input could be read,
// NothingToDo without inputs or without peaks, ReportNotWritten when the CSV was not written or would replace
// one of the inputs.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CSummaryRequest& request, std::atomic<bool>& running, CJobSink& sink);

} // namespace corvelin
