// The chromatogram plot's rules without pixels on a screen: axis steps and labels, full ranges, moves, zoom
// drags and the peak hit test.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine/views/ChromatogramPlotModel.h"
#include "engine/views/PlotAxes.h"

using namespace corvelin;

namespace {

// Peaks given as (start, apex, end, height), added out of RT order on purpose.
CLibraryChromatogram MakeChromatogram(const std::string& path, std::vector<std::array<double, 4>> peaks)
{
    CLibraryChromatogram chromatogram;
    chromatogram.SourcePath = path;
    for (const auto& p : peaks) {
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->StartRT = p[0];
        peak->RT = p[1];
        peak->EndRT = p[2];
        peak->Height = p[3];
        chromatogram.Peaks.push_back(std::move(peak));
    }
    chromatogram.PeakCount = static_cast<int>(peaks.size());
    return chromatogram;
}

const CPixelRect kRect{0, 0, 220, 120}; // 200 x 100 pixels inside the margins

std::vector<double> Values(const std::vector<CAxisTick>& ticks)
{
    std::vector<double> values;
    for (const CAxisTick& tick : ticks)
        values.push_back(tick.Value);
    return values;
}

} // namespace

struct TimeStepCase {
    double SpanSeconds;
    double Step;
};
class TimeAxisStep : public testing::TestWithParam<TimeStepCase> {};
TEST_P(TimeAxisStep, FirstStepThatFitsFourTimes)
{
    EXPECT_EQ(TimeAxisStepSeconds(GetParam().SpanSeconds), GetParam().Step);
}
INSTANTIATE_TEST_SUITE_P(Spans, TimeAxisStep,
                         testing::Values(TimeStepCase{3, 1800}, TimeStepCase{20, 1}, TimeStepCase{600, 60},
                                         TimeStepCase{24, 6}, TimeStepCase{2400, 600}, TimeStepCase{0, 1800}));

struct HeightStepCase {
    double Span;
    double Step;
    const char* FirstLabel;
};
class HeightAxisStep : public testing::TestWithParam<HeightStepCase> {};
TEST_P(HeightAxisStep, StepAndLabelFormat)
{
    const HeightStepCase& c = GetParam();
    EXPECT_EQ(HeightAxisStepPercent(c.Span), c.Step);
    const std::vector<CAxisTick> ticks = HeightAxisTicks(0, c.Span);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().Label, c.FirstLabel);
}
INSTANTIATE_TEST_SUITE_P(Spans, HeightAxisStep,
                         testing::Values(HeightStepCase{100, 20, " 20 %"}, HeightStepCase{200, 50, " 50 %"},
                                         HeightStepCase{40, 10, " 10 %"}, HeightStepCase{20, 5, " 5 %"},
                                         HeightStepCase{4, 1, " 1 %"}, HeightStepCase{2, 0.5, "0.5 %"},
                                         HeightStepCase{0.4, 0.1, "0.1 %"}, HeightStepCase{0.2, 0.05, "0.05 %"},
                                         HeightStepCase{0.04, 0.01, " 0.01 %"}, HeightStepCase{0.01, 0.01, " 0.01 %"}));

TEST(PlotAxes, TicksSkipZeroAndReachTheTopEdge)
{
    EXPECT_EQ(Values(HeightAxisTicks(0, 100)), (std::vector<double>{20, 40, 60, 80, 100}));
    EXPECT_EQ(HeightAxisTicks(0, 1).back().Label, "1.0 %"); // 0.2 steps: 1.0 survives rounding
    EXPECT_TRUE(HeightAxisTicks(5, 5).empty());
    EXPECT_TRUE(HeightAxisTicks(0, std::nan("")).empty());
    // 10 minutes from 0: a tick every minute, none at 0, the last one at the right edge.
    const std::vector<CAxisTick> time = TimeAxisTicks(0, 10);
    ASSERT_EQ(time.size(), 10u);
    EXPECT_EQ(time.front().Label, "1.00");
    EXPECT_EQ(time.back().Label, "10.00");
    // Ticks start one step before the rounded start.
    EXPECT_EQ(TimeAxisTicks(2.4, 3.4).front().Value, 2.25);
}

TEST(ChromatogramPlotModel, CopiesSortedAndDrawsZeroedPropertiesOverTheFullRange)
{
    CChromatogramPlotModel plot;
    CLibraryChromatogram source = MakeChromatogram("/data/Run1", {{4, 4.5, 5, 50}, {1, 1.5, 2, 200}});
    EXPECT_EQ(plot.Add(source), 1);
    source.Peaks.clear(); // the plot keeps its own copy
    EXPECT_EQ(plot.Chromatogram(0).Peaks.size(), 2u);
    EXPECT_EQ(plot.Chromatogram(0).Peaks[0]->RT, 1.5);
    const CPlotRange range = plot.EffectiveRange(0);
    EXPECT_EQ(range.XMin, 0);
    EXPECT_EQ(range.XMax, 5);
    EXPECT_EQ(range.YMax, 200);
    EXPECT_EQ(plot.Find("/DATA/run1"), 0);
    EXPECT_TRUE(plot.Remove("/data/RUN1"));
    EXPECT_EQ(plot.Count(), 0);
    EXPECT_FALSE(plot.Remove("/data/Run1"));
}

TEST(ChromatogramPlotModel, MovesKeepOneCommonPercentRangeAndNeverGoBelowZero)
{
    CChromatogramPlotModel plot;
    plot.Add(MakeChromatogram("a", {{1, 2, 3, 100}}));
    plot.Add(MakeChromatogram("b", {{1, 2, 8, 400}}));
    plot.SetView(0.2, 10, 1.2, 50);
    EXPECT_EQ(plot.Properties(1).YMax, 200);
    plot.Properties(1).YMin = 0; // b now shows 0 ... 50 %, a 10 ... 50 %
    plot.MoveLeft();
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(plot.Properties(i).XMin, 0);
        EXPECT_DOUBLE_EQ(plot.Properties(i).XMax, 1);
    }
    EXPECT_DOUBLE_EQ(plot.Properties(0).YMin, 0);
    EXPECT_DOUBLE_EQ(plot.Properties(0).YMax, 50);
    plot.MoveLeft(); // already at 0: unchanged
    EXPECT_DOUBLE_EQ(plot.Properties(0).XMin, 0);
    EXPECT_DOUBLE_EQ(plot.Properties(0).XMax, 1);
    plot.MoveRight();
    EXPECT_DOUBLE_EQ(plot.Properties(1).XMin, 0.3);
    EXPECT_DOUBLE_EQ(plot.Properties(1).XMax, 1.3);

    plot.ShowFullScale();
    EXPECT_EQ(plot.Properties(0).XMax, 8);   // overall bounds
    EXPECT_EQ(plot.Properties(0).YMax, 100); // own largest height
    EXPECT_EQ(plot.Properties(1).YMax, 400);
}

struct DragCase {
    CPixelRect Drag;
    bool Zooms;
};
class PlotZoomDrag : public testing::TestWithParam<DragCase> {};
TEST_P(PlotZoomDrag, OverTwentyPixelsInEitherDirection)
{
    CChromatogramPlotModel plot;
    plot.Add(MakeChromatogram("a", {{0, 5, 10, 100}}));
    EXPECT_EQ(plot.Zoom(GetParam().Drag, kRect), GetParam().Zooms);
    EXPECT_EQ(plot.Properties(0).XMin != plot.Properties(0).XMax, GetParam().Zooms);
}
INSTANTIATE_TEST_SUITE_P(Drags, PlotZoomDrag,
                         testing::Values(DragCase{{50, 50, 65, 65}, false}, DragCase{{50, 50, 65, 75}, true},
                                         DragCase{{75, 65, 50, 50}, true}, DragCase{{50, 50, 71, 55}, true},
                                         DragCase{{50, 50, 70, 70}, false}));

TEST(ChromatogramPlotModel, ZoomAboveThePlotIsExactlyOneHundredPercent)
{
    CChromatogramPlotModel plot;
    plot.Add(MakeChromatogram("a", {{0, 5, 10, 100}}));
    ASSERT_TRUE(plot.Zoom({10, -40, 110, 60}, kRect));
    EXPECT_EQ(plot.Properties(0).YMax, 100);
    EXPECT_DOUBLE_EQ(plot.Properties(0).YMin, 50);
    EXPECT_DOUBLE_EQ(plot.Properties(0).XMin, 0);
    EXPECT_DOUBLE_EQ(plot.Properties(0).XMax, 5);
    // Below the baseline: clamped to 0 %.
    ASSERT_TRUE(plot.Zoom({10, 20, 110, 300}, kRect)); // 50 ... 100 % shown: 300 is far below 0
    EXPECT_EQ(plot.Properties(0).YMin, 0);
}

TEST(ChromatogramPlotModel, HitTestFindsTheFirstTriangleHoldingThePoint)
{
    CChromatogramPlotModel plot;
    // x: 20 pixels per minute from 10; y: baseline 110, apex of height 100 at 10.
    plot.Add(MakeChromatogram("a", {{1, 2, 3, 100}, {6, 6, 6, 0}}));
    plot.Properties(0) = {0, 0, 10, 100, 0, 1, 0};
    EXPECT_EQ(plot.HitTest(50, 12, kRect).Peak, 0);   // just under the apex (50, 10)
    EXPECT_EQ(plot.HitTest(50, 109, kRect).Peak, 0);  // on the base
    EXPECT_EQ(plot.HitTest(40, 30, kRect).Peak, -1);  // left of the flank
    EXPECT_EQ(plot.HitTest(130, 110, kRect).Peak, 1); // zero-area peak: only its start pixel
    EXPECT_EQ(plot.HitTest(131, 110, kRect).Chromatogram, -1);
    EXPECT_TRUE(PixelTriangleHolds(0, 0, 10, 0, 0, 10, 5, 5));
    EXPECT_FALSE(PixelTriangleHolds(0, 0, 10, 0, 0, 10, 6, 5));
}

TEST(ChromatogramPlotModel, EmptyHeightsGiveNoHeightAxis)
{
    CChromatogramPlotModel plot;
    plot.Add(MakeChromatogram("a", {{1, 2, 3, 0}}));
    double low = 0, high = 0;
    EXPECT_FALSE(plot.HeightAxisPercent(low, high));
    plot.MoveRight(); // no division by zero into the view
    EXPECT_TRUE(std::isfinite(plot.Properties(0).YMax));
    EXPECT_EQ(plot.Mapping(0, kRect).YPixel(5), 110);

    // Values of a damaged file map to pixels far outside the window, never through an overflowing conversion.
    const CPlotMapping mapping{kRect, 0, 1, 0, 1};
    EXPECT_EQ(mapping.XPixel(std::nan("")), 10);
    EXPECT_EQ(mapping.XPixel(1e300), 1000010);
    EXPECT_EQ(mapping.YPixel(-INFINITY), 1000000 + 110);
}
