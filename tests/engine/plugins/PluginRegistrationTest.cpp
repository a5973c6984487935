#include "tests/engine/plugins/PluginTestFixture.h"
#include "engine/plugins/PluginRegistration.h"

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

} // namespace
