#pragma once
// The scale-out commands as jobs of the command line: many unknowns in one pass and library shards
// ("/Unknowns=", "/Shard=", "/Out="), and the merge of shard results ("/Merge=").
#include <atomic>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandRequest.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

// Without a shard: each unknown's report as a search of it alone writes it (next to the unknown, or inside
// /Out=<folder>). With one: each unknown's shard result file (/Out=, a folder with /Unknowns=), only when the scan
// ran to its end. An unreadable unknown is noted and the others go on; the first unknown's failure decides.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CUnknownsRequest& request, std::atomic<bool>& running, CJobSink& sink);

// The merge: RefusedMerge (nothing written) when the shard files do not make up complete searches, otherwise one
// report per unknown; the hit list of a single unknown goes to the sink's output.
CORVELIN_ENGINE_EXPORT CJobOutcome Run(const CMergeRequest& request, std::atomic<bool>& running, CJobSink& sink);

} // namespace corvelin
