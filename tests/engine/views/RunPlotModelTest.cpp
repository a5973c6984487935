// The run plot's model: min/max decimation per pixel column, zoom, the peak hit test and the typed masses.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <string>

#include "engine/peaks/IonCurrent.h"
#include "engine/views/RunPlotModel.h"
#include "engine/views/TraceDecimation.h"

using namespace corvelin;

namespace {

struct DecimationCase {
    const char* Name;
    std::size_t Samples;
    int Width;         // plot pixels (inner width = Width - 20)
    std::size_t Spike; // sample index holding a spike of 1000 (over a ramp 0 ... 1)
};

class DecimateMinMaxTest : public ::testing::TestWithParam<DecimationCase> {};

TEST_P(DecimateMinMaxTest, AtMostTwoPointsPerColumnAndEverySpikeKept)
{
    const DecimationCase c = GetParam();
    std::vector<double> x(c.Samples), y(c.Samples);
    for (std::size_t i = 0; i < c.Samples; ++i) {
        x[i] = 30.0 * static_cast<double>(i) / static_cast<double>(c.Samples - 1);
        y[i] = i == c.Spike ? 1000.0 : static_cast<double>(i) / static_cast<double>(c.Samples);
    }
    const CPlotMapping mapping{{0, 0, c.Width, 300}, 0, 30, 0, 1000};
    const std::vector<CPixelPoint> points = DecimateMinMax(x, y, mapping);
    std::map<int, int> perColumn;
    for (const CPixelPoint& p : points)
        ++perColumn[p.X];
    for (const auto& [column, count] : perColumn)
        EXPECT_LE(count, 2) << "column " << column;
    EXPECT_LE(perColumn.size(), static_cast<std::size_t>(c.Width - 20 + 1));
    EXPECT_EQ(points.size() <= c.Samples, true);
    // The spike's pixel is drawn, and columns follow in order.
    const CPixelPoint spike{mapping.XPixel(x[c.Spike]), mapping.YPixel(1000.0)};
    EXPECT_NE(std::find(points.begin(), points.end(), spike), points.end());
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_LE(points[i - 1].X, points[i].X);
}

INSTANTIATE_TEST_SUITE_P(Runs, DecimateMinMaxTest,
                         ::testing::Values(DecimationCase{"LongRun", 18000, 820, 9001},
                                           DecimationCase{"FewerSamplesThanPixels", 50, 820, 17},
                                           DecimationCase{"SpikeAtTheEnd", 5000, 120, 4999}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DecimateMinMax, ZoomedViewKeepsOneNeighbourOutsideOnEachSide)
{
    const std::vector<double> x{0, 1, 2, 3, 4, 5}, y{1, 2, 3, 4, 5, 6};
    const CPlotMapping mapping{{0, 0, 220, 120}, 2, 3, 0, 10};
    const std::vector<CPixelPoint> points = DecimateMinMax(x, y, mapping);
    ASSERT_EQ(points.size(), 4u); // samples 1 ... 4
    EXPECT_EQ(points.front().X, mapping.XPixel(1));
    EXPECT_EQ(points.back().X, mapping.XPixel(4));
}

CPeakList OnePeak(std::size_t start, std::size_t apex, std::size_t end)
{
    CPeakList list;
    CDetectedPeak peak;
    peak.StartScan = start;
    peak.ApexScan = apex;
    peak.EndScan = end;
    list.Peaks.push_back(peak);
    return list;
}

TEST(RunPlotModel, ZoomHitTestAndPeaksOutsideTheRun)
{
    CRunPlotModel model;
    std::vector<double> times, tic;
    for (int i = 0; i <= 100; ++i) {
        times.push_back(i * 0.1);
        tic.push_back(100 + 1000 * std::exp(-0.5 * std::pow((i - 50) / 3.0, 2)));
    }
    model.SetRun(times, tic);
    CPeakList peaks = OnePeak(40, 50, 60);
    peaks.Peaks.push_back(OnePeak(90, 120, 130).Peaks[0]); // beyond the run: dropped
    model.SetPeaks(peaks);
    ASSERT_EQ(model.Peaks().size(), 1u);

    const CPixelRect rect{0, 0, 520, 320};
    const CPeakMarkPixels marks = model.Marks(0, rect);
    EXPECT_EQ(model.HitPeak(marks.Apex.X, marks.Apex.Y, rect), 0);
    EXPECT_EQ(model.HitPeak(marks.Start.X + 1, 300, rect), 0);
    EXPECT_EQ(model.HitPeak(20, 300, rect), -1);

    EXPECT_FALSE(model.Zoom({100, 100, 110, 110}, rect)); // a click, not a drag
    ASSERT_TRUE(model.Zoom({marks.Start.X, 310, marks.End.X, 0}, rect));
    EXPECT_NEAR(model.View().XMin, 4.0, 0.05);
    EXPECT_NEAR(model.View().XMax, 6.0, 0.05);
    EXPECT_GE(model.View().YMin, 0.0);
    model.ShowFullScale();
    EXPECT_DOUBLE_EQ(model.View().XMax, 10.0);
    EXPECT_DOUBLE_EQ(model.View().YMax, 1100.0);
}

TEST(ParseNominalMasses, TypedTexts)
{
    const std::vector<std::pair<const char*, std::vector<int>>> cases = {
        {"73 147", {73, 147}},
        {"73,147;204", {73, 147, 204}},
        {" 73  73 0 2001 1.5 x9 91", {73, 91}},
        {"", {}},
        {"1 2 3 4 5 6 7 8 9 10", {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseNominalMasses(text, 2000), expected) << text;
}

} // namespace
