// The library hit record and the match details text.
#include <gtest/gtest.h>

#include <string>

#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

using namespace corvelin;

namespace {

std::string Column(const char* head, const char* countLabel, int count, int matched, const char* overall,
                   const std::string& lines)
{
    return std::string("<td><b>") + head + "</b><br>" + countLabel + " = " + std::to_string(count) +
           "<br>Matched peaks = " + std::to_string(matched) + "<br>Overall match = " + overall + "<br><br>" + lines +
           "</td>";
}

std::string Expected(const std::string& forward, const std::string& reverse)
{
    return "<h2>Overall Details</h2><br><br><table border=1><tr>" + forward + reverse + "</tr></table>";
}

TEST(LibraryHit, StartsUncomputed)
{
    const CLibraryHit h;
    for (double v :
         {h.Overall, h.MSAverage, h.RTAverage, h.RIAverage, h.AreaAverage, h.HeightAverage, h.ReverseOverall,
          h.ReverseMSAverage, h.ReverseRTAverage, h.ReverseRIAverage, h.ReverseAreaAverage, h.ReverseHeightAverage})
        EXPECT_EQ(v, -1);
    EXPECT_EQ(h.MatchedPeaks + h.ConsideredPeaks + h.ReverseMatchedPeaks + h.ReverseConsideredPeaks, 0);
}

TEST(LibraryHit, ReverseBlockTakesTheForwardBlockOfTheReverseHit)
{
    CLibraryHit reverse;
    reverse.Overall = 0.5;
    reverse.MSAverage = 0.1;
    reverse.RTAverage = 0.2;
    reverse.RIAverage = 0.3;
    reverse.AreaAverage = 0.4;
    reverse.HeightAverage = 0.6;
    reverse.MatchedPeaks = 7;
    reverse.ConsideredPeaks = 9;
    CLibraryHit hit;
    hit.Overall = 0.9;
    hit.SetReverseFrom(reverse);
    EXPECT_EQ(hit.Overall, 0.9);
    EXPECT_EQ(hit.ReverseOverall, 0.5);
    EXPECT_EQ(hit.ReverseMSAverage, 0.1);
    EXPECT_EQ(hit.ReverseRTAverage, 0.2);
    EXPECT_EQ(hit.ReverseRIAverage, 0.3);
    EXPECT_EQ(hit.ReverseAreaAverage, 0.4);
    EXPECT_EQ(hit.ReverseHeightAverage, 0.6);
    EXPECT_EQ(hit.ReverseMatchedPeaks, 7);
    EXPECT_EQ(hit.ReverseConsideredPeaks, 9);
}

class MatchDetailsTest : public ::testing::Test {
protected:
    MatchDetailsTest()
    {
        for (int k = 0; k < 12; ++k) {
            auto& p = chromatogram.AddPeak();
            p.RT = 2.0 + k;
            p.RI = 900.0 + 100 * k;
            p.Area = p.Height = 100.0 + k;
            p.Spectrum.Append({50.0 + k, 100, 100});
            chromatogram.TotalArea += p.Area;
        }
        chromatogram.TotalHeight = chromatogram.TotalArea;
        options.MSMatching = options.RTMatching = options.RIMatching = options.AreaMatching = options.HeightMatching =
            1;
    }
    std::string Details()
    {
        CLibraryHit forward, reverse;
        chromatogram.Compare(chromatogram, options, forward, nullptr);
        chromatogram.Compare(chromatogram, options, reverse, nullptr);
        return MatchDetailsText(forward, reverse, chromatogram.PeakCount, chromatogram.PeakCount, options);
    }
    CLibraryChromatogram chromatogram;
    CSearchOptions options;
};

TEST_F(MatchDetailsTest, TwelveIdenticalPeaks)
{
    const std::string lines =
        "MS match = 1.000<br>RT match = 1.000<br>RI match = 1.000<br>Ar match = 1.000<br>Ht match = 1.000<br>";
    EXPECT_EQ(Details(), Expected(Column("Forward Match Data:", "nPeaks (this)", 12, 12, "1.000", lines),
                                  Column("Reverse Match Data:", "nPeaks(other)", 12, 12, "1.000", lines)));
}

TEST_F(MatchDetailsTest, SwitchedOffFactorsAreShownAsIgnored)
{
    options.RIMatching = 0;
    options.AreaMatching = 0;
    options.HeightMatching = 0;
    const std::string lines = "MS match = 1.000<br>RT match = 1.000<br>RI ignored<br>Area % ignored<br>Height % "
                              "ignored<br>";
    EXPECT_EQ(Details(), Expected(Column("Forward Match Data:", "nPeaks (this)", 12, 12, "1.000", lines),
                                  Column("Reverse Match Data:", "nPeaks(other)", 12, 12, "1.000", lines)));
    options.MSMatching = 0;
    options.RTMatching = 0;
    EXPECT_NE(Details().find("<br><br>MS ignored<br>RT ignored<br>RI ignored<br>"), std::string::npos);
}

TEST(MatchDetails, UnfilledHitsShowTheirInitialValuesAndCountsArePadded)
{
    CSearchOptions options; // MS and RT on
    const std::string lines =
        "MS match = -1.000<br>RT match = -1.000<br>RI ignored<br>Area % ignored<br>Height % ignored<br>";
    const std::string text = MatchDetailsText(CLibraryHit(), CLibraryHit(), 3, 140, options);
    EXPECT_EQ(text, "<h2>Overall Details</h2><br><br><table border=1><tr><td><b>Forward Match Data:</b><br>nPeaks "
                    "(this) =  3<br>Matched peaks =  0<br>Overall match = -1.000<br><br>" +
                        lines +
                        "</td><td><b>Reverse Match Data:</b><br>nPeaks(other) = 140<br>Matched peaks =  0<br>Overall "
                        "match = -1.000<br><br>" +
                        lines + "</td></tr></table>");
}

} // namespace
