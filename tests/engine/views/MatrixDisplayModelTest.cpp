#include <gtest/gtest.h>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/views/MatrixDisplayModel.h"

using namespace corvelin;

namespace {

CLibraryChromatogram Peaks(const std::vector<double>& rts, const std::vector<double>& areas)
{
    CLibraryChromatogram c;
    for (std::size_t i = 0; i < rts.size(); ++i) {
        auto& p = c.AddPeak();
        p.RT = rts[i];
        p.Area = areas[i];
        p.Height = areas[i] / 10;
        p.RI = 1000 + i;
        c.TotalArea += p.Area;
        c.TotalHeight += p.Height;
    }
    return c;
}

struct StepCase {
    double span;
    double step;
};
class MatrixTickStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(MatrixTickStepTest, HalvesWhileFewerThanThreeStepsFit)
{
    EXPECT_DOUBLE_EQ(MatrixTickStep(GetParam().span), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Spans, MatrixTickStepTest,
                         testing::Values(StepCase{1.0, 0.25}, StepCase{10.5, 2.5}, StepCase{31.0, 10.0},
                                         StepCase{29.0, 5.0}, StepCase{0.025, 0.01}, StepCase{0.0, 1.0}));

TEST(MatrixDisplayModel, MappingAndInverseUseTheMargins)
{
    EXPECT_DOUBLE_EQ(MatrixMap(5, 0, 10, 100, 215), 210);
    EXPECT_DOUBLE_EQ(MatrixMap(0, 0, 10, 100, 215), 110);
    EXPECT_DOUBLE_EQ(MatrixUnmap(110, 0, 10, 215), 5);
    EXPECT_DOUBLE_EQ(MatrixUnmap(10, 2, 4, 500), 2);
    // Span 2.5: 2.5 / 1 < 3 halves the step once; ticks stay below the larger maximum.
    EXPECT_EQ(MatrixTicks({0, 2.5, 0, 2}), (std::vector<double>{0.5, 1, 1.5, 2}));
    EXPECT_EQ(MatrixTicks({0, 3, 0, 2}), (std::vector<double>{1, 2}));
    // Zoomed in far from 0: the visible ticks are all there.
    const std::vector<double> zoomed = MatrixTicks({55, 55.05, 55.01, 55.05});
    ASSERT_EQ(zoomed.size(), 6u);
    EXPECT_NEAR(zoomed.front(), 54.99, 1e-9);
    EXPECT_NEAR(zoomed.back(), 55.04, 1e-9);
}

TEST(MatrixDisplayModel, CircleDiameterFromAreaShare)
{
    EXPECT_EQ(MatrixCircleDiameter(25, 100, 7, 64), 23);
    EXPECT_EQ(MatrixCircleDiameter(25, 100, 7 * 254.0 / 75, 64 * 254.0 / 75), 77); // print scale
    EXPECT_EQ(MatrixCircleDiameter(25, 0, 7, 64), 7);
}

class MatrixLayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_this = Peaks({1, 2, 3, 4}, {100, 100, 100, 100});
        m_other = Peaks({1.1, 2.1, 3.1, 9}, {50, 50, 50, 50});
        m_cells.Resize(4, 4);
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                m_cells(i, j) = 0;
        m_cells(0, 0) = 1.0;
        m_cells(1, 1) = 0.3;
        m_cells(2, 2) = 0.0007; // assigned, has a tool, not drawn filled
        m_model.SetData(&m_cells, 4, 4, &m_this, &m_other);
    }
    CLibraryChromatogram m_this, m_other;
    CCellTable m_cells;
    CMatrixDisplayModel m_model;
};

TEST_F(MatrixLayoutTest, CirclesInDrawingOrderWithToolsAndColours)
{
    EXPECT_EQ(m_model.Ranges(), (CMatrixRanges{0, 10, 0, 10})); // last RT 9 + 1
    const CMatrixLayout layout = m_model.Layout({0, 0, 215, 415}, 7, 64, 5);
    ASSERT_EQ(layout.Circles.size(), 5u);
    // Unassigned "other" peak 3 (9 min), then unassigned "this" peak 3 (4 min), then the pairs.
    EXPECT_EQ(layout.Circles[0].Type, CMatrixCircle::UnassignedOther);
    EXPECT_EQ(layout.Circles[0].OtherPeak, 3);
    EXPECT_DOUBLE_EQ(layout.Circles[0].X, 9.0 / 10 * 200 + 10);
    EXPECT_DOUBLE_EQ(layout.Circles[0].Y, 9.0 / 10 * 400 + 10);
    EXPECT_EQ(layout.Circles[0].Diameter, 23); // 50 / 200 x 64 + 7
    EXPECT_EQ(layout.Circles[1].Type, CMatrixCircle::UnassignedThis);
    EXPECT_EQ(layout.Circles[1].ThisPeak, 3);
    const CMatrixCircle& best = layout.Circles[2];
    EXPECT_TRUE(best.Filled);
    EXPECT_EQ(best.ColorIndex, 4); // v = 1 with 5 colours
    EXPECT_DOUBLE_EQ(best.Y, 1.1 / 10 * 400 + 10);
    EXPECT_EQ(layout.Circles[3].ColorIndex, 1); // v = 0.3
    const CMatrixCircle& faint = layout.Circles[4];
    EXPECT_EQ(faint.Value, 0.0007);
    EXPECT_TRUE(faint.HasTool);
    EXPECT_FALSE(faint.Filled);
    // Without colours a filled circle has no scheme colour; the display picks its own.
    EXPECT_EQ(m_model.Layout({0, 0, 215, 415}, 7, 64, 0).Circles[2].ColorIndex, -1);
}

TEST_F(MatrixLayoutTest, ZoomNeedsMoreThanTwentyUnitsAndRangesAboveOneHundredth)
{
    const CMatrixRect area{0, 0, 215, 215};             // 20 units per minute
    EXPECT_FALSE(m_model.Zoom({50, 50, 65, 65}, area)); // 15 x 15
    EXPECT_FALSE(m_model.CanUndoZoom());
    EXPECT_TRUE(m_model.Zoom({65, 90, 50, 65}, area)); // 15 x 25, corners in any order
    EXPECT_EQ(m_model.Ranges(), (CMatrixRanges{2, 2.75, 2.75, 4}));
    EXPECT_TRUE(m_model.CanUndoZoom());
    m_model.UndoZoom();
    EXPECT_FALSE(m_model.CanUndoZoom());
    // Both new minima exactly 0: zoomed, but "Undo Zoom" stays greyed.
    EXPECT_TRUE(m_model.Zoom({10, 10, 110, 60}, area));
    EXPECT_EQ(m_model.Ranges(), (CMatrixRanges{0, 5, 0, 2.5}));
    EXPECT_FALSE(m_model.CanUndoZoom());
    // A zoom into a range of 0.01 or less is refused.
    const CMatrixRect fine{0, 0, 100015, 215};
    EXPECT_FALSE(m_model.Zoom({10, 10, 110, 60}, fine));
}

TEST_F(MatrixLayoutTest, HoverTextsAsTheTipShowsThem)
{
    const auto picture = [](int side, int peak) { return static_cast<unsigned long>(side * 1000 + peak); };
    EXPECT_EQ(m_model.UnassignedOtherText(3, picture),
              "<h2>\"other\" peak not matched</h2><br><br><table border=1><tr><td>RT = 9.00<br>RI = 1003.0<br>Area "
              "= 25.00 %<br>Area = 50 <br>Height = 25.00 %<br>Height = 5.0 </td></tr><tr><td><bmp handle=2003 "
              "cx=150 cy=75><br><a msg=\"2-Nist-3\">Send to NIST</a> <a msg=\"2-Spec-3\">Send to MS "
              "options</a></td></tr></table>");
    const std::string pair = m_model.PairText(1, 1, picture);
    EXPECT_EQ(pair.rfind("<h2>Peak Match = 0.300</h2><br><br><table border=1><tr><td>RT(this) = 2.00<br>", 0), 0u);
    EXPECT_NE(pair.find("<bmp handle=1001 cx=150 cy=75><br><a msg=\"1-Nist-1\">"), std::string::npos);
    EXPECT_NE(pair.find("<bmp handle=2001 cx=150 cy=75><br><a msg=\"2-Nist-1\">"), std::string::npos);
    EXPECT_NE(m_model.UnassignedThisText(3, picture).find("Height = 10.0</td>"), std::string::npos);
}

} // namespace
