#pragma once
// The "Search Parameter:" block that the CSV reports write after their header: the five matching flags, the
// area/height compare option, the RT search range, multiple matching, weighting, the window widths of the
// retention matchings that are on and the two thresholds.
#include <string>

namespace corvelin {

class CSearchOptions;

// From "Search Parameter:\n" to the area threshold line, every line ending with "\n".
std::string SearchParameterText(const CSearchOptions& options);

} // namespace corvelin
