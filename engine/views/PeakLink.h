#pragma once
// The link texts of the hover tips that send a peak's spectrum on: side digit, "-Nist-" or "-Spec-", peak index
// ("1-Nist-12", "2-Spec-0"). Side 1 is the "this" chromatogram, 2 the "other" one; the number after the last
// "-" is the 0-based peak index.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPeakLink {
    enum Action { None, Nist, Spec };
    Action Kind = None;
    int Side = 0; // 1 "this", 2 "other"
    int Peak = -1;
};

// Kind None for a text that begins with neither "1" nor "2", names neither action, or has no index.
CORVELIN_ENGINE_EXPORT CPeakLink ParsePeakLink(const std::string& text);

} // namespace corvelin
