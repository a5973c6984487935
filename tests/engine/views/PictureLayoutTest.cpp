// Where the texts of the pictures go: label placement, the colour strip's numbers, the matrix axes' numbers and
// titles, the chromatogram plot's legend and axis numbers, and the height axis true for every trace.
#include <gtest/gtest.h>

#include <array>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/views/ChromatogramPlotFrame.h"
#include "engine/views/ChromatogramPlotModel.h"
#include "engine/views/ColorScaleLegend.h"
#include "engine/views/LabelPlacement.h"
#include "engine/views/MatrixDisplayModel.h"

using namespace corvelin;

namespace {

constexpr double kLine = 12;
double Width(const std::string& text)
{
    return 6.0 * static_cast<double>(text.size());
}

std::vector<std::string> Texts(const std::vector<CPlacedText>& placed)
{
    std::vector<std::string> texts;
    for (const CPlacedText& p : placed)
        texts.push_back(p.Text);
    return texts;
}

bool Inside(const CLabelBox& box, const CLabelBox& bounds)
{
    return box.Left >= bounds.Left && box.Top >= bounds.Top && box.Right() <= bounds.Right() &&
           box.Bottom() <= bounds.Bottom();
}

// Every text lies inside bounds and none overlaps another.
void ExpectApartAndInside(const std::vector<CPlacedText>& placed, const CLabelBox& bounds)
{
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_TRUE(Inside(placed[i].Box, bounds)) << placed[i].Text;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(placed[i].Box.Overlaps(placed[j].Box)) << placed[i].Text << " / " << placed[j].Text;
    }
}

} // namespace

TEST(LabelPlacer, MovesLabelsInsideAndLeavesOutWhatWouldCollide)
{
    struct Step {
        CLabelBox Offered;
        std::optional<CLabelBox> Kept;
    };
    CLabelPlacer placer({0, 0, 100, 20});
    placer.Block({60, 0, 10, 20});
    const Step steps[] = {
        {{10, 0, 20, 10}, CLabelBox{10, 0, 20, 10}}, // inside: as offered
        {{90, 5, 20, 10}, CLabelBox{80, 5, 20, 10}}, // past the right and no lower edge: moved in
        {{-5, 15, 8, 10}, CLabelBox{0, 10, 8, 10}},  // before the left and past the bottom edge: moved in
        {{25, 0, 10, 10}, std::nullopt},             // covers the first label
        {{30, 0, 10, 10}, CLabelBox{30, 0, 10, 10}}, // merely touches it
        {{55, 0, 10, 10}, std::nullopt},             // covers the blocked box
        {{0, 0, 101, 10}, std::nullopt},             // wider than the picture
    };
    for (const Step& step : steps)
        EXPECT_EQ(placer.Place(step.Offered), step.Kept) << step.Offered.Left;
}

struct ScaleCase {
    int Colors;
    int Width;
    std::vector<std::string> Numbers;
};
class ColorScaleNumbers : public testing::TestWithParam<ScaleCase> {};
TEST_P(ColorScaleNumbers, ZeroOneAndTheBandEdgesThatFit)
{
    const ScaleCase& c = GetParam();
    const CColorScaleLegend legend = LayoutColorScale(c.Colors, 5, c.Width, 20, kLine, Width);
    EXPECT_EQ(Texts(legend.Numbers), c.Numbers);
    ExpectApartAndInside(legend.Numbers, {5, 20, double(c.Width), kLine});
}
INSTANTIATE_TEST_SUITE_P(
    Strips, ColorScaleNumbers,
    testing::Values(
        // Band k begins at k / 9: every edge has room.
        ScaleCase{10, 600, {"0", "0.11", "0.22", "0.33", "0.44", "0.56", "0.67", "0.78", "0.89", "1"}},
        // 10 pixels a band: "0" and "1" first, then what stays clear of them and of each other.
        ScaleCase{10, 100, {"0", "0.33", "0.67", "1"}}, ScaleCase{1, 100, {"0", "1"}}, ScaleCase{0, 100, {}}));

TEST(MatrixAxisTexts, TitlesAndEndNumbersStayInsideAfterZooming)
{
    CLibraryChromatogram a, b;
    for (const double rt : {10.0, 20.0, 30.0}) {
        a.AddPeak().RT = rt;
        b.AddPeak().RT = rt;
    }
    CCellTable cells;
    cells.Resize(3, 3);
    CMatrixDisplayModel model;
    model.SetData(&cells, 3, 3, &a, &b);
    const CMatrixRect area{0, 0, 300, 300};
    struct Case {
        CMatrixRanges Ranges;
        std::vector<std::string> Numbers; // each number once per axis it is on
    };
    const Case cases[] = {
        // The full map, 0 ... 31: 30.00 sits at the right and lower ends.
        {{0, 31, 0, 31}, {"10.00", "10.00", "20.00", "20.00", "30.00", "30.00"}},
        // Zoomed to 8 ... 31: the tick at 5 lies before both origins and gets no number.
        {{8, 31, 8, 31}, {"10.00", "10.00", "15.00", "15.00", "20.00", "20.00", "25.00", "25.00", "30.00", "30.00"}},
    };
    for (const Case& c : cases) {
        model.SetRanges(c.Ranges);
        const CMatrixLayout layout = model.Layout(area, 4, 20, 10);
        const std::vector<CPlacedText> texts = MatrixAxisTexts(layout, area, kLine, Width);
        ExpectApartAndInside(texts, {0, 0, 300, 300});
        std::vector<std::string> all = Texts(texts);
        ASSERT_GE(all.size(), 2u);
        EXPECT_EQ(all[0], kMatrixThisAxisTitle);
        EXPECT_EQ(all[1], kMatrixOtherAxisTitle);
        all.erase(all.begin(), all.begin() + 2);
        std::sort(all.begin(), all.end());
        EXPECT_EQ(all, c.Numbers) << c.Ranges.XMin;
    }
}

namespace {

CLibraryChromatogram Trace(const std::string& path, double height)
{
    CLibraryChromatogram chromatogram;
    chromatogram.SourcePath = path;
    for (const std::array<double, 4>& p : {std::array<double, 4>{1, 2, 3, height / 2}, {8, 9, 10, height}}) {
        auto& peak = chromatogram.AddPeak();
        peak.StartRT = p[0];
        peak.RT = p[1];
        peak.EndRT = p[2];
        peak.Height = p[3];
    }
    return chromatogram;
}

} // namespace

TEST(ChromatogramPlotFrame, HeightAxisReadsEachTracesOwnPercent)
{
    // The first trace's largest peak is half the second's: each is drawn to its own largest peak, so "100 %
    // height" must read 100 % at the top, not 50 % of the overall largest.
    CChromatogramPlotModel plot;
    plot.Add(Trace("/runs/a.jdx", 500));
    plot.Add(Trace("/runs/b.jdx", 1000));
    plot.SetView(0, 20, 10, 40);
    plot.ShowFullHeight();
    double low = -1, high = -1;
    ASSERT_TRUE(plot.HeightAxisPercent(low, high));
    EXPECT_DOUBLE_EQ(low, 0);
    EXPECT_DOUBLE_EQ(high, 100);
    plot.SetView(0, 20, 10, 40);
    ASSERT_TRUE(plot.HeightAxisPercent(low, high));
    EXPECT_DOUBLE_EQ(high, 40);
}

TEST(ChromatogramPlotFrame, TextsStayOffTheTraces)
{
    CChromatogramPlotModel plot;
    plot.Add(Trace("/runs/a.jdx", 500));
    plot.Add(Trace("/runs/b.jdx", 1000));
    const CPixelRect widget{0, 0, 400, 200};
    const CChromatogramPlotFrame frame = LayoutChromatogramPlot(plot, widget, 12, Width);
    const CPixelRect& area = frame.TraceArea;
    // Where the traces, peaks and match-line ends are drawn: inside the mapping's 10-pixel margin.
    const CLabelBox traces{area.Left + 10.0, area.Top + 10.0, area.Width() - 20.0, area.Height() - 20.0};
    ASSERT_EQ(frame.LegendLines.size(), 2u);
    for (const CLabelBox& line : frame.LegendLines)
        EXPECT_LE(line.Bottom(), area.Top);
    ASSERT_FALSE(frame.TimeLabels.empty());
    ASSERT_FALSE(frame.HeightLabels.empty());
    EXPECT_EQ(frame.HeightLabels.back().Text, "100 %");
    EXPECT_EQ(Texts(frame.Title), std::vector<std::string>{kHeightAxisTitle});
    std::vector<CPlacedText> all = frame.TimeLabels;
    all.insert(all.end(), frame.HeightLabels.begin(), frame.HeightLabels.end());
    all.insert(all.end(), frame.Title.begin(), frame.Title.end());
    ExpectApartAndInside(all, {0, 0, 400, 200});
    for (const CPlacedText& text : all)
        EXPECT_FALSE(text.Box.Overlaps(traces)) << text.Text;

    // Zoomed to 2.5 ... 7.5 minutes, 20 ... 40 %: the ticks a step before the view are not on the axes, so they get
    // no number (a number there would stand beside the axis's end, not under its tick).
    plot.SetView(2.5, 20, 7.5, 40);
    const CChromatogramPlotFrame zoomed = LayoutChromatogramPlot(plot, widget, 12, Width);
    const CPixelRect& z = zoomed.TraceArea;
    for (const CPlacedText& text : zoomed.TimeLabels) {
        const double centre = text.Box.Left + text.Box.Width / 2;
        EXPECT_TRUE(centre >= z.Left + 10 && centre <= z.Right - 10) << text.Text;
    }
    EXPECT_EQ(Texts(zoomed.HeightLabels), (std::vector<std::string>{"20 %", "25 %", "30 %", "35 %", "40 %"}));
}
