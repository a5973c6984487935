#pragma once
// A peak's share of its chromatogram's total area or height, as the views print it: in percent, and 0 where the
// total is 0 (a chromatogram whose peaks all have area 0) or the quotient is not a finite number, so no view
// ever prints "nan" or "inf".
#include "engine/core/EngineExport.h"

namespace corvelin {

CORVELIN_ENGINE_EXPORT double PeakSharePercent(double part, double total) noexcept;

} // namespace corvelin
