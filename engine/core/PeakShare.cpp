#include "engine/core/PeakShare.h"

#include <cmath>

namespace corvelin {

double PeakSharePercent(double part, double total) noexcept
{
    const double percent = part * 100.0 / total;
    return std::isfinite(percent) ? percent : 0.0;
}

} // namespace corvelin
