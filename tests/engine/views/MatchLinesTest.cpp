// The match plot's rules without pixels: which pairs get lines, the nearest line, drags, tips and links.
#include <gtest/gtest.h>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/views/MatchLines.h"
#include "engine/views/MatchPlotTips.h"

using namespace corvelin;

namespace {

CLibraryChromatogram WithPeaks(int count, const std::string& path)
{
    CLibraryChromatogram chromatogram;
    chromatogram.SourcePath = path;
    for (int i = 0; i < count; ++i) {
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->RT = 1 + i;
        peak->StartRT = peak->RT - 0.05;
        peak->EndRT = peak->RT + 0.05;
        peak->Height = 100 * (i + 1);
        peak->Area = 1000 * (i + 1);
        peak->RI = 800 + i;
        chromatogram.Peaks.push_back(std::move(peak));
    }
    chromatogram.PeakCount = count;
    chromatogram.TotalArea = 10000;
    chromatogram.TotalHeight = 1000;
    return chromatogram;
}

} // namespace

TEST(MatchLines, LinesFromAboveOneThousandthInTheSchemeColour)
{
    const CLibraryChromatogram self = WithPeaks(5, "this"), other = WithPeaks(8, "other");
    ASSERT_EQ(MatchTableSide(self, other), 8u);
    CCellTable cells(8, 8);
    cells(0, 0) = 0.001;  // not a line
    cells(1, 2) = 0.0011; // colour 0
    cells(2, 7) = 1.0;    // last colour
    cells(3, 1) = 0.5;
    cells(5, 3) = 0.9; // row beyond the "this" peaks: never a line
    const std::vector<std::uint32_t> colours{0x000001, 0x000002, 0x000003, 0x000004, 0x000005};
    const std::vector<CMatchLinie> lines = BuildMatchLines(cells, self, other, colours);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].ThisIndex, 1);
    EXPECT_EQ(lines[0].OtherIndex, 2);
    EXPECT_EQ(lines[0].Colour, 0x000001u);
    EXPECT_EQ(lines[0].OtherRT, 3);
    EXPECT_EQ(lines[1].Colour, 0x000005u);
    EXPECT_EQ(lines[2].Colour, 0x000003u);                               // trunc(0.5 x 4) = 2
    EXPECT_EQ(BuildMatchLines(cells, self, other, {}).at(1).Colour, 0u); // no scheme colours: black
}

TEST(MatchLines, NearestLineWithinFivePixelsNotSix)
{
    const std::vector<CLineEnds> lines{{0, 0, 0, 100}, {100, 0, 100, 100}, {7, 7, 7, 7}};
    EXPECT_EQ(NearestMatchLine(lines, 5, 50), 0);   // 25 squared pixels
    EXPECT_EQ(NearestMatchLine(lines, 6, 50), -1);  // 36
    EXPECT_EQ(NearestMatchLine(lines, 96, 300), 1); // the infinite line counts, not the segment
    EXPECT_EQ(NearestMatchLine(lines, 100, 3), 1);  // exactly on it
    EXPECT_EQ(NearestMatchLine(lines, 50, 50), -1);
}

TEST(MatchLines, DragsZoomOnlyWhenBothSidesExceedNineteen)
{
    EXPECT_EQ(ClassifyMatchDrag(15, 15), EMatchDrag::Ignore);
    EXPECT_EQ(ClassifyMatchDrag(15, 25), EMatchDrag::Ignore);
    EXPECT_EQ(ClassifyMatchDrag(25, 15), EMatchDrag::Ignore);
    EXPECT_EQ(ClassifyMatchDrag(20, 20), EMatchDrag::Zoom);
    EXPECT_EQ(ClassifyMatchDrag(10, 9), EMatchDrag::Click);
    EXPECT_EQ(ClassifyMatchDrag(10, 10), EMatchDrag::Ignore);
}

TEST(MatchPlotTips, TextsCarryTheFiguresPicturesAndLinks)
{
    const CLibraryChromatogram self = WithPeaks(3, "/runs/a"), other = WithPeaks(3, "/runs/b");
    CCellTable cells(3, 3);
    cells(2, 1) = 0.75;
    const std::vector<CMatchLinie> lines = BuildMatchLines(cells, self, other, {0});
    const std::string pair = PeakMatchTipText(lines.at(0), self, other, 0.5, 17, 18);
    EXPECT_NE(pair.find("<h2>Peak Match = 0.750</h2>"), std::string::npos);
    EXPECT_NE(pair.find("RT(this) = 3.00<br>RI(this) = 802.0<br>Area = 30.00 %<br>Area = 3000 <br>Height = "
                        "30.00 %<br>Height = 300.0 <br>Width = 6.00 sec"),
              std::string::npos);
    EXPECT_NE(pair.find("<td colspan=\"2\">MS similarity = 0.500</td>"), std::string::npos);
    EXPECT_NE(pair.find("<bmp handle=17 cx=150 cy=75><br><a msg=\"1-Nist-2\">Send to NIST</a> <a "
                        "msg=\"1-Spec-2\">"),
              std::string::npos);
    EXPECT_NE(pair.find("<bmp handle=18 cx=150 cy=75><br><a msg=\"2-Nist-1\">"), std::string::npos);

    const std::string info = PeakInformationTipText(other, 0, 2, 0);
    EXPECT_NE(info.find("Peak Number =  1<br>RT = 1.00"), std::string::npos);
    EXPECT_NE(info.find("<a msg=\"2-Spec-0\">Send to MS options</a>"), std::string::npos);
    EXPECT_EQ(TipSpectrumName(self, 1), "2.00 /runs/a");
}

TEST(MatchPlotTips, LinksPickPaneActionAndIndex)
{
    const CTipLink nist = ParseTipLink("2-Nist-41");
    EXPECT_EQ(nist.Pane, 2);
    EXPECT_EQ(nist.What, CTipLink::Action::Nist);
    EXPECT_EQ(nist.PeakIndex, 41);
    EXPECT_EQ(ParseTipLink("1-Spec-0").What, CTipLink::Action::Spec);
    for (const char* ignored : {"3-Nist-1", "x-Spec-2", "", "-Nist-1"})
        EXPECT_EQ(ParseTipLink(ignored).Pane, 0) << ignored;
}
