#include <gtest/gtest.h>

#include "engine/views/ColorScheme.h"
#include "engine/views/ColorSchemeDefaults.h"
#include "tests/support/MemorySettingsStore.h"

using namespace corvelin;

namespace {

constexpr auto kMachine = SettingsScope::LocalMachine;

struct IndexCase {
    double v;
    int n;
    int match; // MatchColorIndex
};

class ColorIndexTest : public testing::TestWithParam<IndexCase> {};

TEST_P(ColorIndexTest, TruncatesTowardZeroAndTreatsSmallValuesAsNoMatch)
{
    EXPECT_EQ(MatchColorIndex(GetParam().v, GetParam().n), GetParam().match);
}

INSTANTIATE_TEST_SUITE_P(Values, ColorIndexTest,
                         testing::Values(IndexCase{1.0, 5, 4}, IndexCase{0.3, 5, 1}, IndexCase{0.2499, 5, 0},
                                         IndexCase{1.0, 10, 9}, IndexCase{0.5, 10, 4}, IndexCase{0.001, 10, -1},
                                         IndexCase{0.0011, 10, 0}, IndexCase{0.7, 1, 0}, IndexCase{1.7, 10, 9},
                                         IndexCase{0.9, 0, -1}));

TEST(ColorScheme, ColourStringsReadByThreeCharacterParts)
{
    EXPECT_EQ(ParseSchemeColor("000000000"), (CSchemeColor{0, 0, 0}));
    EXPECT_EQ(ParseSchemeColor("255128007"), (CSchemeColor{255, 128, 7}));
    // Short strings give what their parts give; values are taken modulo 256.
    EXPECT_EQ(ParseSchemeColor("25512"), (CSchemeColor{255, 12, 0}));
    EXPECT_EQ(ParseSchemeColor("300256-01"), (CSchemeColor{44, 0, 255}));
    EXPECT_EQ(ParseSchemeColor("12a045x"), (CSchemeColor{12, 45, 0}));
    EXPECT_EQ(ParseSchemeColor(""), (CSchemeColor{0, 0, 0}));
}

TEST(ColorScheme, WithoutStoredChoiceTheSchemeNamedColorsIsLoaded)
{
    ScopedMemorySettings store;
    store->WriteSettingInt(kMachine, "ColorSchemes", "Colors", "nColors", 3);
    store->WriteSettingString(kMachine, "ColorSchemes", "Colors", "Color0", "010020030");
    store->WriteSettingString(kMachine, "ColorSchemes", "Colors", "Color2", "255");
    store->WriteSettingString(kMachine, "ColorSchemes", "Colors", "NotFoundOther", "000000255");

    const CColorScheme scheme = CColorScheme::LoadCurrent();
    EXPECT_EQ(scheme.Name, "Colors");
    ASSERT_EQ(scheme.Colors.size(), 3u);
    EXPECT_EQ(scheme.Colors[0], (CSchemeColor{10, 20, 30}));
    EXPECT_EQ(scheme.Colors[1], (CSchemeColor{0, 0, 0})); // missing colour reads black
    EXPECT_EQ(scheme.Colors[2], (CSchemeColor{255, 0, 0}));
    EXPECT_EQ(scheme.NotFoundThis, (CSchemeColor{0, 0, 0}));
    EXPECT_EQ(scheme.NotFoundOther, (CSchemeColor{0, 0, 255}));
    // The match plot's default of one colour when "nColors" is missing.
    store->WriteSettingString(SettingsScope::CurrentUser, "ColorSchemes", nullptr, nullptr, "Other");
    EXPECT_EQ(CColorScheme::LoadCurrent(1).Colors.size(), 1u);
    EXPECT_TRUE(CColorScheme::LoadCurrent().Colors.empty());
}

TEST(ColorScheme, ChoicesSkipEmptyNamesAndSelectionStoresTheName)
{
    ScopedMemorySettings store;
    store->WriteSettingInt(kMachine, "ColorSchemes", nullptr, "nColorSchemes", 3);
    store->WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme0", "Colors");
    store->WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme2", "colors");

    std::vector<CColorSchemeChoice> choices = ColorSchemeChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].Index, 0);
    EXPECT_TRUE(choices[0].Current);
    EXPECT_EQ(choices[1].Index, 2);
    EXPECT_FALSE(choices[1].Current); // case-sensitive

    SelectColorScheme(2);
    EXPECT_EQ(CurrentColorSchemeName(), "colors");
    choices = ColorSchemeChoices();
    EXPECT_FALSE(choices[0].Current);
    EXPECT_TRUE(choices[1].Current);
    SelectColorScheme(7); // no such scheme: its name defaults to "Colors"
    EXPECT_EQ(CurrentColorSchemeName(), "Colors");
}

TEST(ColorSchemeDefaults, InstalledOnlyWhereNoSchemeIsDefinedAndNeverOverALabsColours)
{
    ScopedMemorySettings store;
    store->WriteSettingInt(kMachine, "ColorSchemes", "Colors", "nColors", 2);
    store->WriteSettingString(kMachine, "ColorSchemes", "Colors", "Color1", "001002003");

    ASSERT_TRUE(InstallDefaultColorSchemes(*store));
    const int count = store->GetSettingInt(kMachine, "ColorSchemes", nullptr, "nColorSchemes", 0);
    EXPECT_EQ(count, static_cast<int>(DefaultColorSchemes().size()));
    EXPECT_GE(count, 2);
    // The lab's "Colors" keeps its two colours; the other schemes are complete.
    EXPECT_EQ(CColorScheme::LoadCurrent().Colors, (std::vector<CSchemeColor>{{0, 0, 0}, {1, 2, 3}}));
    SelectColorScheme(1);
    EXPECT_EQ(CColorScheme::LoadCurrent().Colors, DefaultColorSchemes()[1].Colors);

    store->WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme1", "Lab");
    EXPECT_FALSE(InstallDefaultColorSchemes(*store));
    EXPECT_EQ(store->GetSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme1", ""), "Lab");
}

TEST(ColorSchemeDefaults, ColorsRunsFromLowToHighWithTenColours)
{
    const CDefaultColorScheme& colors = DefaultColorSchemes().front();
    EXPECT_EQ(colors.Name, "Colors");
    EXPECT_EQ(colors.Colors.size(), 10u);
}

} // namespace
