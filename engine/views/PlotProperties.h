#pragma once
// How one chromatogram of a plot is drawn: its visible range and its pen. A range whose minimum equals its
// maximum stands for the chromatogram's full range (see CChromatogramPlotModel::EffectiveRange).
#include <cstdint>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPlotProperties {
    double XMin = 0; // minutes
    double YMin = 0; // height units
    double XMax = 0;
    double YMax = 0;
    std::uint32_t Colour = 0; // 0xRRGGBB
    int PenWidth = 0;
    int Flags = 0; // carried, not interpreted by the plot
};

} // namespace corvelin
