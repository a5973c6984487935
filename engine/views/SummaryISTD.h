#pragma once
// The internal standard (ISTD) of a chromatogram for the multi-file summary: the peak that best matches the
// spectral-list entry named by the options' ISTD name, near the ISTD RT when one is given.
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CSearchOptions;

// Index of the ISTD peak, or -1 when there is none. The first spectral-list entry whose name equals the ISTD
// name exactly is the reference (none: -1). Every peak in the RT search range is scored: v = 1, times the RT
// factor against the ISTD RT when that is not 0 (the spectrum is then compared only while v >= 0.0005), times
// the spectral similarity when MS matching is on. The best v with ISTD match factor <= v x 1000 wins (the first
// of equal values); a best of 0 is no ISTD.
CORVELIN_ENGINE_EXPORT int FindISTDPeak(const CLibraryChromatogramData& chromatogram, const CSearchOptions& options);

// Why values relative to the ISTD cannot be computed whatever the runs hold: no ISTD name chosen, or no entry of
// that name in the spectral list (which is not kept across restarts while the name is). Empty when values are not
// relative or the entry is there.
CORVELIN_ENGINE_EXPORT std::string SummaryISTDProblem(const CSearchOptions& options);

} // namespace corvelin
