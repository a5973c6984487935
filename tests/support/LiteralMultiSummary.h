#pragma once
// A literal, deliberately unoptimised transcription of the documented peak grouping of the multi-file summary:
// every peak against every group's reference in group order, the staged match value written out with MSMatch,
// and the bidirectional bubble sort done with the record's own group swaps. Tests compare the engine with it;
// the benchmark measures the engine against it. Not part of the engine.
#include <memory>
#include <vector>

#include "engine/views/MultiSummaryResultData.h"

namespace corvelin {

class CSearchOptions;

namespace literal {

// Groups the chromatograms (taken over in order) into result, then sorts the groups.
void GroupMultiSummary(std::vector<std::unique_ptr<CLibraryChromatogram>> chromatograms, const CSearchOptions& options,
                       CMultiSummaryResultData& result);

} // namespace literal

} // namespace corvelin
