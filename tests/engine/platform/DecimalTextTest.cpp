#include <gtest/gtest.h>

#include <cmath>

#include "engine/platform/DecimalText.h"

using namespace corvelin;

namespace {

struct Case {
    const char* text;
    double expected;
};

class TextToDoubleTest : public testing::TestWithParam<Case> {};

TEST_P(TextToDoubleTest, ReadsTheLeadingDecimalNumber)
{
    EXPECT_EQ(TextToDouble(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, TextToDoubleTest,
                         testing::Values(Case{" 1.5x", 1.5}, Case{"abc", 0.0}, Case{"", 0.0}, Case{"-2e3", -2000.0},
                                         Case{"+.5", 0.5}, Case{"5.", 5.0}, Case{"0x10", 0.0}, Case{"inf", 0.0},
                                         Case{"1e", 1.0}, Case{"\t\n7;", 7.0}, Case{"-", 0.0}, Case{"1e-999", 0.0},
                                         Case{"1e999", HUGE_VAL}, Case{"-1e999", -HUGE_VAL}, Case{"2,5", 2.0}));

} // namespace
