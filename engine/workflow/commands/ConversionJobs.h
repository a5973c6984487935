#pragma once
// The conversion ("/Convert=": "Display && Convert" into a library entry beside the file) and the display
// ("/Display=": what a data file holds, nothing converted) as jobs of the command line. The listing of the
// file goes to the sink's output, one line per item, indented two blanks per level.
#include <atomic>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

// A conversion while the "Add Chromatogram" page is switched off converts nothing (NothingToDo).
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CConvertRequest& request, std::atomic<bool>& running, CJobSink& sink);
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CDisplayRequest& request, std::atomic<bool>& running, CJobSink& sink);

} // namespace corvelin
