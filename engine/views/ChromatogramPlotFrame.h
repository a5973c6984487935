#pragma once
// The frame around the traces of a chromatogram plot: where the legend, the axis numbers and the height axis's
// title go, and the rectangle left for the traces, so no text is drawn over a trace, a peak or a match line's
// end. The legend takes one line per chromatogram at the top (right-aligned, in the chromatogram's colour); the
// height numbers stand left of the height axis, the time numbers under the time axis. Every trace is drawn
// scaled to its own largest peak, so the height axis reads "% of each trace's largest peak" (the first
// chromatogram's view gives the numbers; the zoom and move commands keep one percent range for all).
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/views/LabelPlacement.h"
#include "engine/views/PlotMapping.h"

namespace corvelin {

class CChromatogramPlotModel;

inline constexpr const char* kHeightAxisTitle = "% of each trace's largest peak";

struct CORVELIN_ENGINE_EXPORT CChromatogramPlotFrame {
    CPixelRect TraceArea; // what the traces are mapped into (CPlotMapping keeps its 10-pixel margin)
    // Where traces are drawn: from the height axis to the right and from the top to the time axis; a trace of a
    // zoomed view is cut there, so it never runs over the legend or the numbers.
    CPixelRect TraceClip;
    std::vector<CLabelBox> LegendLines;  // one per chromatogram, in list order: the line its name is drawn in
    std::vector<CPlacedText> TimeLabels; // under the time axis; one that would collide is left out
    std::vector<CPlacedText> HeightLabels;
    std::vector<int> TimeTickX;     // every time tick, for the tick marks
    std::vector<int> HeightTickY;   // every height tick
    std::vector<CPlacedText> Title; // the height axis's title when it fits beside the legend (at most one)
};

// The frame for a plot widget of rectangle widget whose texts are lineHeight high and textWidth wide. With no
// chromatogram the whole widget is the trace area and there are no texts.
CORVELIN_ENGINE_EXPORT CChromatogramPlotFrame LayoutChromatogramPlot(const CChromatogramPlotModel& model,
                                                                     const CPixelRect& widget, int lineHeight,
                                                                     const TextWidthFn& textWidth);

} // namespace corvelin
