#include <gtest/gtest.h>

#include <string>

#include "readers/amdis-elu/EluParser.h"

using namespace corvelin;

using namespace amdis;

namespace {

// Joins lines with the given line end (every line, the last one too).
std::string Lines(std::initializer_list<std::string> lines, const std::string& end)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// Three components the way AMDIS writes them: pairs over several lines, flagged lines at the end, an RE block
// over several lines, and one component without RE or MO.
std::string ThreeComponents(const std::string& end)
{
    return Lines({"NAME: |SC4|CN1|MP1-MODN:77(%71.7)|AM119881|PC48|SN196|WD>5|TA0.7|FR0-6|RT5.5127|MN0.23|RA0.120|"
                  "IS1868465|XN1868465|RB0.220|MO3: 77 134 184|EW0-0|FG0.950",
                  "RE", "214706 279055 432434 541270 330334 ", "70666 0 ", "NUM PEAKS: 7",
                  "(55,18 )(57,31 )(77,999 )(134,812 )(184,694 )", "(54,3 N0.3)(132,106 B0.0)", "",
                  "NAME: |SC8|CN4|AM69626|FR6-11|RT5.5373|RA0.0664|IS1033472|XN1100000", "RE",
                  "239908 322469 291715 146340 33039 0 ", "NUM PEAKS: 3", "(73,999 )(75,328 )", "(77,41 L0.9)", "",
                  "NAME: |SC20|CN11|FR12-23|RT5.6058|IS509925", "NUM PEAKS: 0", ""},
                 end);
}

class EluLineEnds : public ::testing::TestWithParam<std::string> {};

TEST_P(EluLineEnds, ReadsEveryComponentWithItsFieldsProfileAndPairs)
{
    const EluFile file = ParseElu(ThreeComponents(GetParam()));
    ASSERT_EQ(file.components.size(), 3u);

    const EluComponent& a = file.components[0];
    EXPECT_EQ(a.line, 1u);
    EXPECT_EQ(a.scan, 4);
    EXPECT_EQ(a.number, 1);
    EXPECT_DOUBLE_EQ(*a.rt, 5.5127);
    EXPECT_EQ(a.firstScan, 0);
    EXPECT_EQ(a.lastScan, 6);
    EXPECT_DOUBLE_EQ(*a.amount, 119881);
    EXPECT_DOUBLE_EQ(*a.signal, 1868465);
    EXPECT_DOUBLE_EQ(*a.extended, 1868465);
    EXPECT_DOUBLE_EQ(*a.relativeAmount, 0.120);
    EXPECT_DOUBLE_EQ(*a.signalToNoise, 196);
    EXPECT_DOUBLE_EQ(*a.purity, 48);
    EXPECT_EQ(a.modelIons, (std::vector<int>{77, 134, 184}));
    EXPECT_EQ(a.profile, (std::vector<double>{214706, 279055, 432434, 541270, 330334, 70666, 0}));
    ASSERT_EQ(a.pairs.size(), 7u);
    EXPECT_DOUBLE_EQ(a.pairs[2].mass, 77);
    EXPECT_DOUBLE_EQ(a.pairs[2].abundance, 999);
    EXPECT_FALSE(a.pairs[2].Flagged());
    EXPECT_EQ(a.pairs[5].flag, "N0.3");
    EXPECT_EQ(a.pairs[6].flag, "B0.0");
    EXPECT_DOUBLE_EQ(a.pairs[6].abundance, 106);

    const EluComponent& b = file.components[1];
    EXPECT_EQ(b.line, 9u);
    EXPECT_EQ(b.pairs.size(), 3u);
    EXPECT_EQ(b.pairs[2].flag, "L0.9");
    EXPECT_DOUBLE_EQ(*b.extended, 1100000);

    const EluComponent& c = file.components[2];
    EXPECT_TRUE(c.profile.empty());
    EXPECT_TRUE(c.pairs.empty());
    EXPECT_FALSE(c.relativeAmount.has_value());
    EXPECT_FALSE(c.extended.has_value());
}

INSTANTIATE_TEST_SUITE_P(CrLfLfCr, EluLineEnds, ::testing::Values("\r\n", "\n", "\r"));

TEST(EluParser, SkipsJunkOutsideComponentsAndAByteOrderMark)
{
    const std::string text = "\xEF\xBB\xBF"
                             "AMDIS export of run 12\n\n" +
                             ThreeComponents("\n") + "trailing words\n(not a component)\n";
    const EluFile file = ParseElu(text);
    ASSERT_EQ(file.components.size(), 3u);
    EXPECT_EQ(file.components[0].line, 3u);
}

TEST(EluParser, EmptyTextHasNoComponents)
{
    EXPECT_TRUE(ParseElu("").components.empty());
    EXPECT_TRUE(ParseElu("\r\n\r\n").components.empty());
    EXPECT_TRUE(ParseElu(std::string(1 << 20, '\n')).components.empty());
}

struct BrokenElu {
    const char* what;
    std::string text;
    std::size_t line; // the line the error names
};

class EluMalformed : public ::testing::TestWithParam<BrokenElu> {};

TEST_P(EluMalformed, FailsWithTheLineOfTheFault)
{
    try {
        ParseElu(GetParam().text);
        FAIL() << GetParam().what << ": no error";
    } catch (const FormatError& error) {
        EXPECT_EQ(error.Line(), GetParam().line) << GetParam().what << ": " << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EluMalformed,
    ::testing::Values(
        BrokenElu{"count larger than the pairs present", "NAME: |SC1|RT1.0\nNUM PEAKS: 3\n(50,999 )(51,10 )\n\n", 2},
        BrokenElu{"truncated file", "NAME: |SC1|RT1.0\nNUM PEAKS: 3\n(50,999 )(51,10 )", 2},
        BrokenElu{"pairs beyond the count", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,999 )\n(51,10 )\n", 2},
        BrokenElu{"pairs beyond the count on one line", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,999 )(51,10 )\n", 2},
        BrokenElu{"no count", "NAME: |SC1|RT1.0\nRE\n1 2 3\n\nNAME: |SC2|RT1.1\nNUM PEAKS: 0\n", 1},
        BrokenElu{"count at the end of the file missing", "NAME: |SC1|RT1.0\nRE\n", 1},
        BrokenElu{"negative count", "NAME: |SC1|RT1.0\nNUM PEAKS: -2\n", 2},
        BrokenElu{"huge count", "NAME: |SC1|RT1.0\nNUM PEAKS: 1000000000\n(50,1 )\n", 2},
        BrokenElu{"count beyond int", "NAME: |SC1|RT1.0\nNUM PEAKS: 99999999999999999999\n", 2},
        BrokenElu{"bad mass", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(5x,999 )\n", 3},
        BrokenElu{"mass beyond any spectrum", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(1e300,999 )\n", 3},
        BrokenElu{"bad abundance", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,9.9.9 )\n", 3},
        BrokenElu{"negative abundance", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,-1 )\n", 3},
        BrokenElu{"unclosed pair", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,999 \n", 3},
        BrokenElu{"text between pairs", "NAME: |SC1|RT1.0\nNUM PEAKS: 2\n(50,999 ) and (51,1 )\n", 3},
        BrokenElu{"flag that is not a letter", "NAME: |SC1|RT1.0\nNUM PEAKS: 1\n(50,999 0.3)\n", 3},
        BrokenElu{"bad RT", "junk\nNAME: |SC1|RT1,5\nNUM PEAKS: 0\n", 2},
        BrokenElu{"bad scan", "NAME: |SCfour|RT1.5\nNUM PEAKS: 0\n", 1},
        BrokenElu{"bad scan range", "NAME: |SC4|FR3|RT1.5\nNUM PEAKS: 0\n", 1},
        BrokenElu{"RT not finite", "NAME: |SC4|RTinf\nNUM PEAKS: 0\n", 1},
        BrokenElu{"bad profile value", "NAME: |SC4|RT1.5\nRE\n10 2O 30\nNUM PEAKS: 0\n", 3}));

TEST(EluParser, LooksLikeEluAcceptsOnlyComponentHeads)
{
    EXPECT_TRUE(LooksLikeElu("NAME: |SC4|CN1|RT5.5127|MO1: 77\r\nRE\r\n"));
    EXPECT_TRUE(LooksLikeElu("\r\n\r\nNAME: |SC4|CN1|RT5.51")); // a head cut inside the first line
    EXPECT_FALSE(LooksLikeElu("NAME:0.5203 min, OP17760\r\nNUM PEAKS:6\r\n(16 13)")); // an MSL entry
    EXPECT_FALSE(LooksLikeElu("Name: Glycine\nNum Peaks: 1\n70 10\n"));               // an MSP entry
    EXPECT_FALSE(LooksLikeElu("some text\nNAME: |SC4|RT5.5\n"));                      // not first
    EXPECT_FALSE(LooksLikeElu("NAME: |CN1|AM5\n"));                                   // no scan, no RT
    EXPECT_FALSE(LooksLikeElu(""));
    EXPECT_FALSE(LooksLikeElu(std::string("\x89HDF\r\n\x1a\n", 8)));
}

} // namespace
