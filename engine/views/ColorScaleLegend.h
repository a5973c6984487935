#pragma once
// The colour strip under the match views with its numbers, so a user can tell which colour is a good match. A
// match value v takes colour trunc(v x (n - 1)) of n (see SchemeColorIndex): band k holds the values from
// k / (n - 1) on, and the last band is 1 itself. Each band edge is labelled with the lowest value of the band to
// its right ("0" at the left end, "1" at the start of the last band); a single colour reads "0" and "1" at its
// ends. "0" and "1" are placed first; an inner number that would collide with one already placed is left out.
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/views/LabelPlacement.h"

namespace corvelin {

// The band edges for n colours over [left, left + width): edge i = left + trunc(width / n x i), computed in
// floating point, so the bands tile the strip without gaps. n + 1 edges; none for n < 1.
CORVELIN_ENGINE_EXPORT std::vector<int> ColorBandEdges(int left, int width, int n);

struct CORVELIN_ENGINE_EXPORT CColorScaleLegend {
    std::vector<int> Edges;           // as ColorBandEdges
    std::vector<CPlacedText> Numbers; // under the strip, left to right
};

// The strip of n colours over [left, left + width) with its numbers in the line starting at labelTop.
CORVELIN_ENGINE_EXPORT CColorScaleLegend LayoutColorScale(int n, int left, int width, double labelTop,
                                                          double lineHeight, const TextWidthFn& textWidth);

} // namespace corvelin
