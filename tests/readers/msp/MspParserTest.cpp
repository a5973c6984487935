#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/msp/MspParser.h"

using namespace corvelin;

namespace {

struct Layout {
    const char* label;
    std::string text;
};

// One spectrum with masses 41, 43, 57 and raw intensities 500, 999, 250 in each of the usual peak layouts.
class MspPeakLayoutTest : public ::testing::TestWithParam<Layout> {};

TEST_P(MspPeakLayoutTest, ReadsThePairs)
{
    const auto spectra = ParseMsp(GetParam().text);
    ASSERT_EQ(spectra.size(), 1u);
    EXPECT_EQ(spectra[0].Name, "Hexane");
    const auto& points = spectra[0].Spectrum.Points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[0].Mass, 41);
    EXPECT_DOUBLE_EQ(points[1].Mass, 43);
    EXPECT_DOUBLE_EQ(points[2].Mass, 57);
    EXPECT_NEAR(points[0].Intensity, 500.0 * 100 / 999, 1e-9);
    EXPECT_DOUBLE_EQ(points[1].Intensity, 100);
    EXPECT_NEAR(points[2].Intensity, 250.0 * 100 / 999, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, MspPeakLayoutTest,
    ::testing::Values(
        Layout{"OnePerLine", "Name: Hexane\nNum Peaks: 3\n41 500\n43 999\n57 250\n"},
        Layout{"Tabs", "Name: Hexane\nNum Peaks: 3\n41\t500\n43\t999\n57\t250\n"},
        Layout{"Semicolons", "Name: Hexane\nNum Peaks: 3\n41 500; 43 999;\n 57  250;\n"},
        Layout{"Colons", "NAME: Hexane\nNUM PEAKS: 3\n41:500 43:999 57:250\n"},
        Layout{"SeveralPairsPerLine", "Name: Hexane\nNum peaks: 3\n41 500 43 999 57 250\n"},
        Layout{"Unsorted", "Name: Hexane\nNum Peaks: 3\n57 250\n41 500\n43 999\n"},
        Layout{"ScientificAndDecimals", "Name: Hexane\nNum Peaks: 3\n41.0 5.00e2\n43.0 9.99E+02\n57 2.5e2\n"},
        Layout{"QuotedAnnotations",
               "Name: Hexane\nNum Peaks: 3\n41 500 \"C3H5+\"\n43 999 \"C3H7+; base\"\n57 250 \"x\"\n"},
        Layout{"UnquotedAnnotation", "Name: Hexane\nNum Peaks: 3\n41 500 C3H5\n43 999 C3H7\n57 250 C4H9\n"},
        Layout{"BomAndCrLf", "\xEF\xBB\xBFName: Hexane\r\nNum Peaks: 3\r\n41 500\r\n43 999\r\n57 250\r\n\r\n"},
        Layout{"KeysAfterTheCount", "Name: Hexane\nNum Peaks: 3\nSMILES: CCCCCC\n41 500\n43 999\n57 250\n"},
        Layout{
            "CommentsAndSynonyms",
            "Name: Hexane\nSynon: RI: 600,0\nComment: [Marker]\nQI=74.1\n[2TMS]\nCAS#: 110-54-3\nNum Peaks: 3\n41 500\n"
            "43 999\n57 250\n"}),
    [](const auto& info) { return info.param.label; });

TEST(MspParserTest, ReadsSeveralSpectraWithAndWithoutBlankLines)
{
    const std::string text = "Name: A\nNum Peaks: 1\n50 10\n\n\nName: B\nNum Peaks: 2\n60 10; 61 20;\n"
                             "Name: C\nNum Peaks: 0\n"
                             "\nFORMULA: C2H6\nCOMPOUND_NAME: Ethane\nNUM PEAKS: 1\n30 999\n";
    const auto spectra = ParseMsp(text);
    ASSERT_EQ(spectra.size(), 4u);
    EXPECT_EQ(spectra[0].Name, "A");
    EXPECT_EQ(spectra[1].Name, "B");
    EXPECT_EQ(spectra[1].Spectrum.GetCount(), 2u);
    EXPECT_EQ(spectra[2].Name, "C");
    EXPECT_EQ(spectra[2].Spectrum.GetCount(), 0u);
    EXPECT_EQ(spectra[3].Name, "Ethane");
}

// 6e202 * 100 / 6e202 rounds to 100.00000000000001: the largest line must still be exactly 100 %.
TEST(MspParserTest, TheLargestLineIsExactly100PercentWhateverItsScale)
{
    const auto spectra = ParseMsp("Name: Huge\nNum Peaks: 2\n3 6e202\n28 999\n");
    ASSERT_EQ(spectra.size(), 1u);
    EXPECT_EQ(spectra[0].Spectrum.Points().front().Intensity, 100.0);
}

TEST(MspParserTest, FillsTheWeightedIntensities)
{
    const auto spectra = ParseMsp("Name: X\nNum Peaks: 2\n100 100\n200 50\n");
    ASSERT_EQ(spectra.size(), 1u);
    CLibraryMassSpectrumData expected;
    expected.Append(CLibraryMassSpectrumPoint(100, 100));
    expected.Append(CLibraryMassSpectrumPoint(200, 50));
    expected.ApplyWeighting();
    EXPECT_EQ(spectra[0].Spectrum, expected);
    EXPECT_GT(spectra[0].Spectrum.GetPoint(1)->WeightedIntensity, 0);
}

struct Malformed {
    const char* label;
    std::string text;
    std::size_t line;
};

class MspMalformedTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MspMalformedTest, FailsCleanlyWithTheLine)
{
    try {
        ParseMsp(GetParam().text);
        FAIL() << "expected MspParseError";
    } catch (const MspParseError& e) {
        EXPECT_EQ(e.Line(), GetParam().line) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MspMalformedTest,
    ::testing::Values(Malformed{"MissingCount", "Name: A\nNum Peaks: 1\n50 10\n\nName: B\n50 10\n", 6},
                      Malformed{"NoCountAtAll", "Name: A\nFormula: C\n", 1},
                      Malformed{"JunkAmongPeaks", "Name: A\nNum Peaks: 2\n50 10\nthis is junk\n51 2\n", 4},
                      Malformed{"JunkBeforeTheFirstKey", "this is junk\nName: A\nNum Peaks: 1\n50 10\n", 1},
                      Malformed{"HugeCount", "Name: A\nNum Peaks: 1000000000\n50 10\n", 2},
                      Malformed{"CountNotANumber", "Name: A\nNum Peaks: many\n50 10\n", 2},
                      Malformed{"NegativeCount", "Name: A\nNum Peaks: -3\n50 10\n", 2},
                      Malformed{"FewerPairs", "Name: A\nNum Peaks: 3\n50 10\n51 20\n\nName: B\nNum Peaks: 1\n1 1\n", 1},
                      Malformed{"MorePairs", "Name: A\nNum Peaks: 1\n50 10\n51 20\n", 4},
                      Malformed{"NotANumber", "Name: A\nNum Peaks: 1\n50 1x0\n", 3},
                      Malformed{"NegativeIntensity", "Name: A\nNum Peaks: 1\n50 -10\n", 3},
                      Malformed{"PeaksBeforeCount", "Name: A\n50 10\n", 2},
                      Malformed{"HalfAPair", "Name: A\nNum Peaks: 1\n50\n", 3},
                      Malformed{"TwoCounts", "Name: A\nNum Peaks: 1\nNum Peaks: 1\n50 10\n", 3}),
    [](const auto& info) { return info.param.label; });

TEST(MspParserTest, RecognisesLibrariesByTheirKeys)
{
    EXPECT_TRUE(LooksLikeMsp("\xEF\xBB\xBFNAME: Water\r\nMW: 18\r\nNUM PEAKS: 1\r\n18 999\r\n"));
    EXPECT_TRUE(LooksLikeMsp("FORMULA: C2H6\nCOMPOUND_NAME: Ethane\nNum Peaks: 1\n"));
    EXPECT_FALSE(LooksLikeMsp("Name: only a name\n"));
    EXPECT_FALSE(LooksLikeMsp("##TITLE=JCAMP\n##NPOINTS=3\n"));
    EXPECT_FALSE(LooksLikeMsp(""));
}

} // namespace
