#pragma once
// The "Search Parameter:" block that the CSV reports write after their header: the five matching flags, the
// area/height compare option, the RT search range, multiple matching, weighting, the window widths of the
// retention matchings that are on and the two thresholds.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CSearchOptions;

// From "Search Parameter:\n" to the area threshold line, every line ending with "\n".
CORVELIN_ENGINE_EXPORT std::string SearchParameterText(const CSearchOptions& options);

// The parts other reports arrange differently: the five matching flags and the area/height compare option ...
CORVELIN_ENGINE_EXPORT std::string MatchingFlagLines(const CSearchOptions& options);
// ... and from the weighting to the area threshold line.
CORVELIN_ENGINE_EXPORT std::string WindowAndThresholdLines(const CSearchOptions& options);

} // namespace corvelin
