#include <gtest/gtest.h>

#include "engine/core/Exceptions.h"
#include "tests/support/RecordingMessageSink.h"
#include "engine/platform/NumberScan.h"
#include "engine/table/CellCompare.h"

using namespace corvelin;

namespace {

struct CompareCase {
    const char* a;
    const char* b;
    int type;
    int expectedSign;
};

class CellCompareCases : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CellCompareCases, GivesTheSignOfTheRule)
{
    const CompareCase& c = GetParam();
    const int r = CompareCellTexts(c.a, c.b, c.type);
    EXPECT_EQ((r > 0) - (r < 0), c.expectedSign) << "'" << c.a << "' vs '" << c.b << "' type " << c.type;
}

INSTANTIATE_TEST_SUITE_P(
    Types, CellCompareCases,
    ::testing::Values(
        // 0: case-sensitive text; upper case sorts before lower case
        CompareCase{"abc", "abd", kCompareText, -1}, CompareCase{"B", "a", kCompareText, -1},
        CompareCase{"a", "a", kCompareText, 0}, CompareCase{"ab", "a", kCompareText, 1},
        // 1: leading integers; non-numbers read 0
        CompareCase{"12/15", "9/20", kCompareInteger, 1}, CompareCase{"-", "0", kCompareInteger, 0},
        CompareCase{" 7x", "7", kCompareInteger, 0}, CompareCase{"-3", "", kCompareInteger, -1},
        CompareCase{"2147483647", "-2147483648", kCompareInteger, 1},
        CompareCase{"99999999999999999999", "1", kCompareInteger, 1},
        // 2: leading reals, equal within 0.0001
        CompareCase{"1.00001", "1.00002", kCompareReal, 0}, CompareCase{"0.953", "0.952", kCompareReal, 1},
        CompareCase{"-", "0.000", kCompareReal, 0}, CompareCase{"", "-0.5", kCompareReal, 1},
        CompareCase{"12/15", "12.00005", kCompareReal, 0}, CompareCase{" 1e2x", "99.99", kCompareReal, 1},
        CompareCase{"nan", "0", kCompareReal, 0}, CompareCase{"inf", "0", kCompareReal, 0},
        CompareCase{".5", "0.5", kCompareReal, 0}, CompareCase{"1e", "1", kCompareReal, 0},
        // 5: always equal; 6: text ignoring case
        CompareCase{"x", "y", kCompareEqual, 0}, CompareCase{"ABC", "abc", kCompareTextNoCase, 0},
        CompareCase{"B", "a", kCompareTextNoCase, 1}, CompareCase{"sub/a", "Sub/B", kCompareTextNoCase, -1}));

TEST(CellCompare, DateTimesWithinHalfASecondAreEqualAndJunkStopsTheSort)
{
    EXPECT_EQ(CompareCellTexts("2012-12-17 14:05:00", "2012-12-17 14:05:00", kCompareDateTime), 0);
    EXPECT_LT(CompareCellTexts("2012-12-17 14:05:00", "2012-12-17 14:05:01", kCompareDateTime), 0);
    EXPECT_GT(CompareCellTexts("2012-12-18", "2012-12-17 23:59:59", kCompareDateTime), 0);
    try {
        CompareCellTexts("yesterday", "2012-12-17", kCompareDateTime);
        FAIL() << "no exception";
    } catch (const CUserException& e) {
        EXPECT_STREQ(e.what(), kDateCompareMessage);
    }
}

TEST(CellCompare, InvalidTypeIsEqualAndShownOnlyOnce)
{
    RecordingMessageSink sink;
    EXPECT_EQ(CompareCellTexts("a", "b", 4), 0);
    EXPECT_EQ(CompareCellTexts("a", "b", 99), 0);
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Invalid compare type=4"});
}

TEST(CellCompare, LeadingNumbersIgnoreTheProcessLocale)
{
    EXPECT_DOUBLE_EQ(LeadingReal("  -12.5e1abc"), -125.0);
    EXPECT_DOUBLE_EQ(LeadingReal("0,5"), 0.0);
    EXPECT_EQ(LeadingInteger(" +42 of 50"), 42);
    EXPECT_EQ(LeadingInteger("-99999999999"), INT_MIN);
}

} // namespace
