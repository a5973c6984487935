#include "tests/engine/plugins/PluginTestFixture.h"
#include "engine/options/ProgramOptions.h"
#include "engine/options/ProgramSettingsStore.h"
#include "engine/plugins/PluginRegistration.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <thread>
#include <vector>

using namespace corvelin;

namespace {

using PluginRegistrationTest = PluginTest;

PluginRegistration Reg(const std::string& key, const std::string& path, const std::string& extension = {})
{
    PluginRegistration reg;
    reg.Key = key;
    reg.Name = "Reader " + key;
    reg.Path = path;
    reg.Extension = extension;
    reg.Filter = extension.empty() ? "" : "Files (*" + extension + ")|*" + extension;
    return reg;
}

TEST_F(PluginRegistrationTest, RegisteredModulesAreLoadedByTheList)
{
    EXPECT_EQ(RegisterPlugin(Reg("A", "test_plugin_a.so", ".a")), 0);
    EXPECT_EQ(RegisterPlugin(Reg("B", "test_plugin_b.so", ".b")), 1);
    const auto list = Load();
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetPlugin(1)->Name, "Reader B");
    EXPECT_TRUE(list->GetPlugin(1)->HasModule());
    EXPECT_EQ(list->BuildChromatogramFilter(), "Files (*.a)|*.a|Files (*.b)|*.b|All known file types|*.a;*.b;||");
}

TEST_F(PluginRegistrationTest, ReRegisteringKeepsTheSlotAndTheLabsChoices)
{
    RegisterPlugin(Reg("A", "old.so", ".a"));
    RegisterPlugin(Reg("B", "b.so", ".b"));
    SetInt("A", "Load This Plugin", 0);
    SetText("A", "AmdisPath", "/opt/amdis");
    EXPECT_EQ(RegisterPlugin(Reg("a", "new.so", ".a")), 0); // keys compare ignoring case
    const auto regs = ReadPluginRegistrations();
    ASSERT_EQ(regs.size(), 2u);
    EXPECT_EQ(regs[0].Path, "new.so");
    EXPECT_FALSE(regs[0].Load);
    EXPECT_EQ(Text("A", "AmdisPath"), "/opt/amdis");
    EXPECT_EQ(settings->GetSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 0), 2);
}

TEST_F(PluginRegistrationTest, ANewKeyTakesTheFirstFreeSlot)
{
    RegisterPlugin(Reg("A", "a.so"));
    RegisterPlugin(Reg("B", "b.so"));
    RegisterPlugin(Reg("C", "c.so"));
    EXPECT_TRUE(UnregisterPlugin("B"));
    EXPECT_FALSE(UnregisterPlugin("B"));
    EXPECT_EQ(RegisterPlugin(Reg("D", "d.so")), 1);
    const auto regs = ReadPluginRegistrations();
    ASSERT_EQ(regs.size(), 3u);
    EXPECT_EQ(regs[1].Key, "D");
    EXPECT_EQ(regs[1].Slot, 1);
}

// Registrations from parallel callers (the tool run many times at once) all arrive: the slot count and the
// slots agree. The settings live in a real INI file, whose writes replace the whole file.
TEST(PluginRegistrationFile, ParallelRegistrationsAreAllKept)
{
    TempDir dir;
    const auto previous = SetSettingsStore(
        std::make_shared<CProgramSettingsStore>(SettingsLocation::InFolder(dir.Path().string() + "/", "u")));
    std::vector<std::thread> callers;
    for (int t = 0; t < 6; ++t)
        callers.emplace_back([t] {
            for (int i = 0; i < 4; ++i)
                RegisterPlugin(Reg("K" + std::to_string(t) + "_" + std::to_string(i), "m.so"));
        });
    for (auto& c : callers)
        c.join();
    EXPECT_EQ(ReadPluginRegistrations().size(), 24u);
    EXPECT_EQ(GetSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 0), 24);
    SetSettingsStore(previous);
}

// A corrupt slot count costs only the slots present, when loading the list, listing and registering.
TEST_F(PluginRegistrationTest, AHugeSlotCountVisitsOnlyThePresentSlots)
{
    RegisterPlugin(Reg("A", "test_plugin_a.so", ".a"));
    settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 2147483647);
    settings->WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, "Plugin2000000000", "B");
    SetText("B", "Path", "test_plugin_b.so");
    SetText("B", "AmdisPath", "/opt/amdis");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadAmdisPath(), "/opt/amdis");
    EXPECT_EQ(Load()->GetCount(), 2);
    EXPECT_EQ(ReadPluginRegistrations().size(), 2u);
    EXPECT_EQ(RegisterPlugin(Reg("C", "c.so")), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

} // namespace
