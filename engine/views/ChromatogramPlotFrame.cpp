#include "engine/views/ChromatogramPlotFrame.h"

#include <algorithm>
#include <cmath>

#include "engine/views/ChromatogramPlotModel.h"
#include "engine/views/PlotAxes.h"

namespace corvelin {
namespace {

constexpr int kTickLength = 6; // the height ticks reach this far left of the axis

CLabelBox BoxOf(const CPixelRect& r)
{
    return {double(r.Left), double(r.Top), double(r.Width()), double(r.Height())};
}

} // namespace

CChromatogramPlotFrame LayoutChromatogramPlot(const CChromatogramPlotModel& model, const CPixelRect& widget,
                                              int lineHeight, const TextWidthFn& textWidth)
{
    CChromatogramPlotFrame frame;
    frame.TraceArea = widget;
    const int count = model.Count();
    if (count == 0)
        return frame;
    const double line = std::max(lineHeight, 1);

    // The height numbers decide how much room the axis needs on the left.
    double lowPercent = 0, highPercent = 0;
    std::vector<CAxisTick> heightTicks;
    if (model.HeightAxisPercent(lowPercent, highPercent))
        heightTicks = HeightAxisTicks(lowPercent, highPercent);
    double labelWidth = 0;
    for (const CAxisTick& tick : heightTicks)
        labelWidth = std::max(labelWidth, textWidth(tick.Label));

    CPixelRect& area = frame.TraceArea;
    // The legend never takes more than half the widget: beyond that, lines run behind the traces' top margin.
    const int legendHeight = std::min(count * lineHeight, widget.Height() / 2);
    area.Top = widget.Top + legendHeight;
    area.Left = widget.Left + static_cast<int>(std::ceil(labelWidth)) + 2;
    area.Bottom = std::max(area.Top, widget.Bottom - lineHeight + 6);
    area.Right = std::max(area.Left, widget.Right);

    frame.TraceClip = {area.Left + 10, area.Top, area.Right, area.Bottom - 9};
    for (int i = 0; i < count; ++i)
        frame.LegendLines.push_back(
            {double(widget.Left), double(widget.Top + i * lineHeight), double(widget.Width()), line});

    CLabelPlacer placer(BoxOf(widget), line / 3);
    const CPlotMapping first = model.Mapping(0, area);
    const double axisY = area.Bottom - 10;
    const double axisX = area.Left + 10;
    // Ticks beyond either end of an axis (the tick lists start a step before the view) are not on the axis.
    for (const CAxisTick& tick : TimeAxisTicks(first.XMin, first.XMax)) {
        const int x = first.XPixel(tick.Value);
        if (x < axisX || x > area.Right - 10)
            continue;
        frame.TimeTickX.push_back(x);
        const double w = textWidth(tick.Label);
        placer.Place(tick.Label, {x - w / 2, axisY + 3, w, line}, frame.TimeLabels);
    }
    const double largest = model.LargestHeight(0);
    for (const CAxisTick& tick : heightTicks) {
        const int y = first.YPixel(tick.Value * largest / 100);
        if (y < area.Top + 10 || y > axisY)
            continue;
        frame.HeightTickY.push_back(y);
        const double w = textWidth(tick.Label);
        placer.Place(tick.Label, {axisX - kTickLength - 2 - w, y - line / 2, w, line}, frame.HeightLabels);
    }

    // The axis title in the first legend line that leaves it room on the left.
    const double titleWidth = textWidth(kHeightAxisTitle);
    for (int i = 0; i < count && frame.Title.empty(); ++i) {
        const CLabelBox row = frame.LegendLines[static_cast<std::size_t>(i)];
        if (row.Bottom() > area.Top)
            break;
        const double legendWidth = textWidth(model.Chromatogram(i).SourcePath);
        CLabelPlacer rowPlacer(row, line);
        rowPlacer.Block({row.Right() - legendWidth, row.Top, legendWidth, row.Height});
        rowPlacer.Place(kHeightAxisTitle, {row.Left + 2, row.Top, titleWidth, row.Height}, frame.Title);
    }
    return frame;
}

} // namespace corvelin
