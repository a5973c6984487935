#include <gtest/gtest.h>

#include <filesystem>

#include "engine/options/PluginSlots.h"
#include "engine/options/ProgramSettingsStore.h"
#include "engine/platform/IniDocument.h"
#include "engine/platform/Registry.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

constexpr auto User = SettingsScope::CurrentUser;
constexpr auto Machine = SettingsScope::LocalMachine;

RegistryValue Dword(std::uint32_t n)
{
    return RegistryValue{RegDword,
                         {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
}

RegistryValue Text(std::string_view text)
{
    RegistryValue value{RegSz, {text.begin(), text.end()}};
    value.Data.push_back(0);
    return value;
}

class SettingsStoreTest : public testing::Test {
protected:
    SettingsLocation Location(const std::string& user = "alice") const
    {
        return SettingsLocation::InFolder(m_dir.Path().string(), user);
    }
    CRegistry Registry() const { return CRegistry(m_dir.File("registry")); }
    void SetUseRegistry(const RegistryValue& value) const
    {
        ASSERT_TRUE(Registry().SetValue(RegistryRoot::LocalMachine, "SOFTWARE\\Felsmark Labs\\Settings\\",
                                        "UseRegistry", value));
    }
    std::string Ini() const { return ReadAllText(m_dir.File("settings.ini")); }

    TempDir m_dir;
};

TEST_F(SettingsStoreTest, IniSectionNamesCarryScopeUserAndSubsection)
{
    EXPECT_EQ(IniSectionName(User, "alice", "Search Parameter", "Global"), "HKCU alice Search Parameter Global");
    EXPECT_EQ(IniSectionName(Machine, "alice", "Plugins", nullptr), "HKLM Plugins");
    EXPECT_EQ(IniSectionName(SettingsScope::ClassesRoot, "alice", "X", "Y"), "HKCR X Y");
    EXPECT_EQ(IniSectionName(SettingsScope::Other, "alice", "X", nullptr), "HKOTHER X");
    EXPECT_EQ(IniSectionName(Machine, "alice", "Plugins", "Plugins\\Netcdf Reader"),
              "HKLM Plugins Plugins Netcdf Reader");
}

TEST_F(SettingsStoreTest, WithoutUseRegistryTheIniFileBesideTheProgramHoldsEverything)
{
    CProgramSettingsStore store(Location());
    store.WriteSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", 150);
    store.WriteSettingString(User, "Search Parameter", "Global", "LastTimeRange", "1-2");
    store.WriteSettingString(Machine, "Corvelinscope", nullptr, nullptr, "default");
    EXPECT_TRUE(store.UseIniSettings());
    EXPECT_EQ(Ini(), "[HKCU alice LibrarySearch]\r\nMaxPeaks=150\r\n"
                     "[HKCU alice Search Parameter Global]\r\nLastTimeRange=1-2\r\n"
                     "[HKLM Corvelinscope]\r\n@=default\r\n");
    EXPECT_EQ(store.GetSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", 200), 150);
    EXPECT_EQ(store.GetSettingString(Machine, "Corvelinscope", nullptr, nullptr, "x"), "default");
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "LastFolder", nullptr), "");
    // An absent text removes the key.
    store.WriteSettingString(User, "Search Parameter", "Global", "LastTimeRange", nullptr);
    EXPECT_EQ(store.GetSettingString(User, "Search Parameter", "Global", "LastTimeRange", "*"), "*");
}

TEST_F(SettingsStoreTest, PerUserValuesOfOneUserAreInvisibleToAnother)
{
    CProgramSettingsStore alice(Location("alice"));
    CProgramSettingsStore bob(Location("bob"));
    alice.WriteSettingString(User, "LibrarySearch", nullptr, "LastFolder", "/data/alice");
    alice.WriteSettingInt(Machine, "Corvelinscope", nullptr, "ShowPageReport", 1);
    EXPECT_EQ(bob.GetSettingString(User, "LibrarySearch", nullptr, "LastFolder", "none"), "none");
    EXPECT_EQ(alice.GetSettingString(User, "LibrarySearch", nullptr, "LastFolder", "none"), "/data/alice");
    // Machine-wide values are shared.
    EXPECT_EQ(bob.GetSettingInt(Machine, "Corvelinscope", nullptr, "ShowPageReport", 0), 1);
}

TEST_F(SettingsStoreTest, SubsectionWithBackslashBecomesBlank)
{
    CProgramSettingsStore store(Location());
    store.WriteSettingString(Machine, "Plugins", "Plugins\\Reader", "Path", "/x/reader.so");
    EXPECT_EQ(Ini(), "[HKLM Plugins Plugins Reader]\r\nPath=/x/reader.so\r\n");
}

struct SwitchCase {
    const char* name;
    int kind; // 0 missing, 1 REG_DWORD 1, 2 REG_DWORD 0, 3 text "1"
    bool useIni;
};

class UseRegistrySwitch : public SettingsStoreTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(UseRegistrySwitch, SelectsTheBackEnd)
{
    switch (GetParam().kind) {
    case 1:
        SetUseRegistry(Dword(1));
        break;
    case 2:
        SetUseRegistry(Dword(0));
        break;
    case 3:
        SetUseRegistry(Text("1"));
        break;
    default:
        break;
    }
    CProgramSettingsStore store(Location());
    store.WriteSettingInt(User, "PageLayout", nullptr, "BaseFontSize", 12);
    EXPECT_EQ(store.UseIniSettings(), GetParam().useIni);
    const auto inRegistry =
        Registry().QueryValue(RegistryRoot::CurrentUser, "SOFTWARE\\Felsmark Labs\\PageLayout\\", "BaseFontSize");
    EXPECT_EQ(std::filesystem::exists(m_dir.File("settings.ini")), GetParam().useIni);
    EXPECT_EQ(inRegistry.has_value(), !GetParam().useIni);
    if (inRegistry) {
        EXPECT_EQ(*inRegistry, Dword(12));
    }
    EXPECT_EQ(store.GetSettingInt(User, "PageLayout", nullptr, "BaseFontSize", 10), 12);
}

INSTANTIATE_TEST_SUITE_P(Values, UseRegistrySwitch,
                         testing::Values(SwitchCase{"Missing", 0, true}, SwitchCase{"DwordOne", 1, false},
                                         SwitchCase{"DwordZero", 2, true}, SwitchCase{"Text", 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, SwitchIsReadOnce)
{
    CProgramSettingsStore store(Location());
    EXPECT_EQ(store.GetSettingInt(User, "LibfileMatrix", nullptr, "MinSize", 7), 7);
    SetUseRegistry(Dword(1));
    store.WriteSettingInt(User, "LibfileMatrix", nullptr, "MinSize", 9);
    EXPECT_TRUE(store.UseIniSettings());
    EXPECT_NE(Ini().find("MinSize=9"), std::string::npos);
    // The next run sees the new switch.
    CProgramSettingsStore nextRun(Location());
    EXPECT_FALSE(nextRun.UseIniSettings());
}

TEST_F(SettingsStoreTest, SwitchKeyThatCannotBeOpenedSelectsTheIniFile)
{
    WriteAllText(m_dir.File("registry"), "a file where the registry folder should be");
    CProgramSettingsStore store(Location());
    EXPECT_TRUE(store.UseIniSettings());
}

TEST_F(SettingsStoreTest, ReadingTheSwitchCreatesItsKey)
{
    CProgramSettingsStore store(Location());
    EXPECT_TRUE(store.UseIniSettings());
    EXPECT_NE(
        ReadAllText(Registry().FilePath(RegistryRoot::LocalMachine)).find("[SOFTWARE\\\\Felsmark Labs\\\\Settings]"),
        std::string::npos);
}

TEST_F(SettingsStoreTest, ConfigIniMovesTheSettingsFileAndIsReadOnEveryCall)
{
    CProgramSettingsStore store(Location());
    EXPECT_EQ(store.SettingsIniPath(), m_dir.File("settings.ini"));
    const std::string moved = m_dir.File("elsewhere/my settings.ini");
    std::filesystem::create_directory(m_dir.File("elsewhere"));
    WriteAllText(m_dir.File("config.ini"), "[Configuration]\r\nPath=" + moved + "\r\n");
    EXPECT_EQ(store.SettingsIniPath(), moved);
    store.WriteSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", 99);
    EXPECT_NE(ReadAllText(moved).find("MaxPeaks=99"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("settings.ini")));
    // A relative path is taken from the program folder.
    WriteAllText(m_dir.File("config.ini"), "[configuration]\npath=rel.ini\n");
    EXPECT_EQ(store.SettingsIniPath(), m_dir.File("rel.ini"));
    // Without the key, the default again.
    WriteAllText(m_dir.File("config.ini"), "[Configuration]\nOther=1\n");
    EXPECT_EQ(store.SettingsIniPath(), m_dir.File("settings.ini"));
}

TEST_F(SettingsStoreTest, RegistryReadsRejectWrongTypesAndOverlongTexts)
{
    SetUseRegistry(Dword(1));
    const CRegistry registry = Registry();
    const std::string key = "SOFTWARE\\Felsmark Labs\\LibrarySearch\\";
    auto set = [&](const char* name, const RegistryValue& value) {
        ASSERT_TRUE(registry.SetValue(RegistryRoot::CurrentUser, key, name, value));
    };
    set("IntAsText", Text("150"));
    set("TextAsInt", Dword(5));
    set("NoZero", RegistryValue{RegSz, {'a', 'b'}});
    set("Expand", RegistryValue{RegExpandSz, {'%', 'H', '%', 0}});
    set("Max", Text(std::string(4095, 'x')));
    set("TooLong", Text(std::string(4096, 'x')));
    set("Short", RegistryValue{RegDword, {1, 0}});
    CProgramSettingsStore store(Location());
    EXPECT_EQ(store.GetSettingInt(User, "LibrarySearch", nullptr, "IntAsText", 200), 200);
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "TextAsInt", "d"), "d");
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "NoZero", "d"), "d");
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "Expand", "d"), "%H%");
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "Max", "d").size(), 4095u);
    EXPECT_EQ(store.GetSettingString(User, "LibrarySearch", nullptr, "TooLong", "d"), "d");
    EXPECT_EQ(store.GetSettingInt(User, "LibrarySearch", nullptr, "Short", 3), 3);
    EXPECT_EQ(store.GetSettingInt(User, "LibrarySearch", nullptr, "Missing", -4), -4);
    // Writes: REG_DWORD and REG_SZ with its terminating zero; an absent text writes nothing.
    store.WriteSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", -1);
    store.WriteSettingString(User, "LibrarySearch", nullptr, "LastFolder", "/lib");
    store.WriteSettingString(User, "LibrarySearch", nullptr, "Nothing", nullptr);
    EXPECT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, key, "MaxPeaks"), Dword(0xffffffff));
    EXPECT_EQ(registry.QueryValue(RegistryRoot::CurrentUser, key, "LastFolder"), Text("/lib"));
    EXPECT_FALSE(registry.QueryValue(RegistryRoot::CurrentUser, key, "Nothing"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("settings.ini")));
}

TEST_F(SettingsStoreTest, WithoutCompanyKeyTheProfileFileIsUsed)
{
    SettingsLocation location = Location();
    location.CompanyKey.clear();
    CProgramSettingsStore store(location);
    store.WriteSettingInt(User, "Ignored", "Settings", "bmpWidth_MultiSummary", 333);
    EXPECT_FALSE(store.UseIniSettings());
    EXPECT_EQ(ReadAllText(m_dir.File("Corvelinscope.ini")), "[Settings]\r\nbmpWidth_MultiSummary=333\r\n");
    EXPECT_EQ(store.GetSettingInt(Machine, "Other", "Settings", "bmpWidth_MultiSummary", 300), 333);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("settings.ini")));
}

TEST_F(SettingsStoreTest, InjectedStoreServesTheFreeFunctions)
{
    auto previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(m_dir.File("given.ini"), "carol"));
    WriteSettingInt(Machine, "Plugins", nullptr, "Plugin0", 1);
    WriteSettingString(User, "MatchTable", nullptr, "Last Save Path", "/t");
    EXPECT_EQ(GetSettingInt(Machine, "Plugins", nullptr, "Plugin0", 0), 1);
    EXPECT_EQ(GetSettingString(User, "MatchTable", nullptr, "Last Save Path", ""), "/t");
    EXPECT_EQ(ReadAllText(m_dir.File("given.ini")),
              "[HKLM Plugins]\r\nPlugin0=1\r\n[HKCU carol MatchTable]\r\nLast Save Path=/t\r\n");
    EXPECT_TRUE(UseIniSettings());
    EXPECT_EQ(SettingsIniPath(), m_dir.File("given.ini"));

    SetUseRegistry(Dword(1));
    SetSettingsStore(std::make_shared<CProgramSettingsStore>(Location()));
    EXPECT_FALSE(UseIniSettings());
    EXPECT_EQ(SettingsIniPath(), "");
    SetSettingsStore(previous);
}

// A plug-in slot count that is negative or written beyond the range of an int reads the slots present.
TEST_F(SettingsStoreTest, APluginSlotCountOutOfRangeReadsTheSlotsPresent)
{
    for (const auto& [count, slots] : {std::pair{"-1", 3}, {"4294967296", 3}, {"99999999999", 3}, {"2", 2}}) {
        WriteAllText(m_dir.File("s.ini"),
                     std::string("[HKLM Plugins]\n@=") + count + "\nPlugin0=A\nPlugin1=B\nPlugin2=C\n");
        auto previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(m_dir.File("s.ini"), "u"));
        EXPECT_EQ(PluginSlotIndexes(PluginSlotBound()).size(), static_cast<std::size_t>(slots)) << count;
        SetSettingsStore(previous);
    }
}

} // namespace
