#pragma once
// Drawing a long trace (thousands of scans) at the cost of the plot's width, not of its length: the samples that
// fall into one pixel column become that column's lowest and highest value, so every spike stays visible and a
// zoom step draws at most two points per column.
#include <cstddef>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/views/PlotMapping.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPixelPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const CPixelPoint&) const = default;
};

// The polyline of the samples (x[i], y[i]) (x ascending) inside mapping's x range, one neighbour outside on each
// side included so the line reaches the plot's edges. A column holding one sample gives one point; a column with
// more gives its lowest and highest value, in the order they were acquired. Columns are the pixels of mapping.
// y values are not clipped (the painter clips to the plot). Samples with a non-finite value are skipped.
CORVELIN_ENGINE_EXPORT std::vector<CPixelPoint>
DecimateMinMax(const std::vector<double>& x, const std::vector<double>& y, const CPlotMapping& mapping);

} // namespace corvelin
