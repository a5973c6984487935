#include "engine/views/PlotAxes.h"

#include <cmath>

#include "engine/platform/CFormat.h"

namespace corvelin {
namespace {

// Guards the tick loops against absurd ranges (a tick per pixel is far beyond any useful axis).
constexpr int kMaxTicks = 10000;

} // namespace

double TimeAxisStepSeconds(double spanSeconds) noexcept
{
    for (const double step : {600.0, 300.0, 60.0, 30.0, 15.0, 6.0, 1.0})
        if (spanSeconds / step >= 4)
            return step;
    return 1800;
}

std::vector<CAxisTick> TimeAxisTicks(double xMin, double xMax)
{
    std::vector<CAxisTick> ticks;
    const double step = TimeAxisStepSeconds((xMax - xMin) * 60);
    if (!std::isfinite(xMin) || !std::isfinite(xMax))
        return ticks;
    const double k = std::round(xMin * 60 / step);
    for (int n = 0; n < kMaxTicks; ++n) {
        const double seconds = step * (k - 1 + n);
        if (seconds > xMax * 60)
            break;
        if (seconds > 0)
            ticks.push_back({seconds / 60, FormatC("%.2f", seconds / 60)});
    }
    return ticks;
}

double HeightAxisStepPercent(double spanPercent) noexcept
{
    for (const double step : {50.0, 20.0, 10.0, 5.0, 2.0, 1.0, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01})
        if (spanPercent / step >= 4)
            return step;
    return 0.01;
}

const char* HeightAxisFormat(double step) noexcept
{
    if (step >= 10)
        return "%3.0f %%";
    if (step >= 1)
        return "%2.0f %%";
    if (step >= 0.2)
        return "%2.1f %%";
    if (step >= 0.1)
        return "%3.1f %%";
    if (step >= 0.02)
        return "%4.2f %%";
    return "%5.2f %%";
}

std::vector<CAxisTick> HeightAxisTicks(double yMinPercent, double yMaxPercent)
{
    std::vector<CAxisTick> ticks;
    const double span = yMaxPercent - yMinPercent;
    if (!std::isfinite(span) || span <= 0)
        return ticks;
    const double step = HeightAxisStepPercent(span);
    const char* format = HeightAxisFormat(step);
    const double k = std::round(yMinPercent / step);
    // Ticks are computed as multiples of the step, so 100 % with a step of 0.1 is not lost to accumulated error;
    // the small tolerance keeps a tick that lands on the top edge.
    for (int n = 0; n < kMaxTicks; ++n) {
        const double value = step * (k - 1 + n);
        if (value > yMaxPercent + step * 1e-9)
            break;
        if (value > step * 1e-9)
            ticks.push_back({value, FormatC(format, value)});
    }
    return ticks;
}

} // namespace corvelin
