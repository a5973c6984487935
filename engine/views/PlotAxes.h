#pragma once
// The tick rules of the chromatogram plot's axes: step tables, first tick, label formats. Ticks at or below 0
// are never returned.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CAxisTick {
    double Value = 0; // minutes on the time axis, percent on the height axis
    std::string Label;
};

// The time-axis step in seconds for a visible span of spanSeconds: the first of 600, 300, 60, 30, 15, 6, 1
// that fits at least 4 times, else 1800.
CORVELIN_ENGINE_EXPORT double TimeAxisStepSeconds(double spanSeconds) noexcept;
// Ticks (minutes, labelled "%.2f") of the visible range xMin ... xMax minutes.
CORVELIN_ENGINE_EXPORT std::vector<CAxisTick> TimeAxisTicks(double xMin, double xMax);

// The height-axis step in percent: the first of 50, 20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01 that fits
// at least 4 times into the span, else 0.01.
CORVELIN_ENGINE_EXPORT double HeightAxisStepPercent(double spanPercent) noexcept;
// The printf format of the height labels for a step of the table above.
CORVELIN_ENGINE_EXPORT const char* HeightAxisFormat(double stepPercent) noexcept;
// Ticks of the visible range in percent; none when the span is zero, negative or not finite.
CORVELIN_ENGINE_EXPORT std::vector<CAxisTick> HeightAxisTicks(double yMinPercent, double yMaxPercent);

} // namespace corvelin
