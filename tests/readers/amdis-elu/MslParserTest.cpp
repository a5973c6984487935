#include <gtest/gtest.h>

#include <string>

#include "readers/amdis-elu/AmdisText.h"
#include "readers/amdis-elu/MslParser.h"

using namespace corvelin;

using namespace amdis;

namespace {

const std::string kTwoEntries = "NAME: [C8] Methyl Caprylate [7.812]\r\n"
                                "COMMENT: |800|[Marker] RI=STD|RI:800.00\r\n"
                                "RI:800.00\r\n"
                                "CASNO: 111115\r\n"
                                "RT: 7.812\r\n"
                                "NUM PEAKS:  7 \r\n"
                                "( 51    5) ( 53   19) ( 54   10) ( 55  206) ( 56   36) \r\n"
                                "( 74 1000) (127  109) \r\n"
                                "\r\n"
                                "Name: Glycine, N,N-dimethyl- (1TMS)\r\n"
                                "Num Peaks: 2\r\n"
                                "(70       10) (77     1000)\r\n";

TEST(MslParser, ReadsEntriesWithBlankPaddedPairsAndMixedCaseKeys)
{
    const MslFile file = ParseMsl(kTwoEntries);
    EXPECT_TRUE(file.skipped.empty());
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].name, "[C8] Methyl Caprylate [7.812]");
    ASSERT_EQ(file.entries[0].pairs.size(), 7u);
    EXPECT_DOUBLE_EQ(file.entries[0].pairs[5].mass, 74);
    EXPECT_DOUBLE_EQ(file.entries[0].pairs[5].abundance, 1000);
    EXPECT_EQ(file.entries[1].name, "Glycine, N,N-dimethyl- (1TMS)");
    EXPECT_EQ(file.entries[1].line, 10u);
    EXPECT_EQ(file.entries[1].pairs.size(), 2u);
}

TEST(MslParser, LeavesOutMalformedEntriesAndKeepsTheOthers)
{
    const std::string text = "NAME:good one\nNUM PEAKS:1\n(50 999)\n\n"
                             "NAME:short\nNUM PEAKS:3\n(50 999) (51 3)\n\n"
                             "NAME:bad number\nNUM PEAKS:2\n(50 999) (5l 3)\n\n"
                             "NAME:no count\nRT: 3.3\n\n"
                             "NAME:good two\nNUM PEAKS:2\n(60 999)\n(61 1)\n\n"
                             "NAME:cut at the end\nNUM PEAKS:4\n(70 1)";
    const MslFile file = ParseMsl(text);
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].name, "good one");
    EXPECT_EQ(file.entries[1].name, "good two");
    ASSERT_EQ(file.skipped.size(), 4u);
    EXPECT_EQ(file.skipped[0], "line 6: NUM PEAKS announces 3 pairs, 2 found");
    EXPECT_EQ(file.skipped[1], "line 11: bad mass '5l'");
    EXPECT_EQ(file.skipped[2], "line 13: entry without NUM PEAKS");
    EXPECT_EQ(file.skipped[3], "line 22: NUM PEAKS announces 4 pairs, 1 found");
}

TEST(MslParser, LooksLikeMslTellsLibrariesFromOtherTexts)
{
    EXPECT_TRUE(LooksLikeMsl(kTwoEntries));
    EXPECT_TRUE(LooksLikeMsl("\xEF\xBB\xBFName: x\r\nNum Peaks: 1\r\n(70 10)\r\n"));
    EXPECT_FALSE(LooksLikeMsl("Name: x\nNum Peaks: 1\n70 10\n"));                  // NIST MSP
    EXPECT_FALSE(LooksLikeMsl("NAME: |SC4|CN1|RT5.5\nNUM PEAKS: 1\n(77,999 )\n")); // ELU
    EXPECT_FALSE(LooksLikeMsl("NAME: x\nRT: 1.0\n"));                              // head without pairs
    EXPECT_FALSE(LooksLikeMsl("(70 10)\nNAME: x\n"));
    EXPECT_FALSE(LooksLikeMsl(""));
}

struct PairLine {
    std::string text;
    std::vector<double> values; // mass, abundance, mass, abundance ...
    std::vector<std::string> flags;
};

class PeakPairs : public ::testing::TestWithParam<PairLine> {};

TEST_P(PeakPairs, ParseEveryNotation)
{
    std::vector<PeakPair> pairs;
    ParsePeakPairs({GetParam().text, 1}, pairs);
    ASSERT_EQ(pairs.size() * 2, GetParam().values.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_DOUBLE_EQ(pairs[i].mass, GetParam().values[2 * i]);
        EXPECT_DOUBLE_EQ(pairs[i].abundance, GetParam().values[2 * i + 1]);
        EXPECT_EQ(pairs[i].flag, GetParam().flags[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Notations, PeakPairs,
                         ::testing::Values(PairLine{"(55,18 )(57,31 )", {55, 18, 57, 31}, {"", ""}},
                                           PairLine{"(54,3 N0.3)(81,8 B0.0)", {54, 3, 81, 8}, {"N0.3", "B0.0"}},
                                           PairLine{"( 51    5) (127  109) ", {51, 5, 127, 109}, {"", ""}},
                                           PairLine{"\t(50.5 , 12.25)", {50.5, 12.25}, {""}}, PairLine{"", {}, {}},
                                           PairLine{"   ", {}, {}}));

} // namespace
