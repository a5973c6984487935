#pragma once
// The fingerprint of everything in the search options that can change a hit-list row: matching switches,
// windows, weighting, RT range, thresholds, the spectral include/exclude list with its spectra and the RI
// calibration table (used on unknowns without calibration). Shards of one search must carry the same one; the
// report's parameter block alone does not show all of these.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CSearchOptions;

// A canonical text of those values (reals with 17 significant digits), one "name=value" a line.
CORVELIN_ENGINE_EXPORT std::string SearchOptionsCanonicalText(const CSearchOptions& options);
// SHA-256 of SearchOptionsCanonicalText.
CORVELIN_ENGINE_EXPORT std::string SearchOptionsDigest(const CSearchOptions& options);

} // namespace corvelin
