#include <cerrno>
#include <cstring>

#include "tests/engine/plugins/PluginTestFixture.h"
#include "engine/core/Exceptions.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

using DatasystemPluginsTest = PluginTest;

TEST_F(DatasystemPluginsTest, BuildsTheListInSlotOrderAndSkipsUnusedSlots)
{
    Register(0, "A", "test_plugin_a.so", ".a", "A files (*.a)|*.a", "Reader A");
    settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 6);
    // Slot 1 empty, slot 2 without a path, slot 3 not to be loaded.
    Register(2, "NoPath", "", ".x");
    Register(3, "Off", "test_plugin_a.so", ".off");
    SetInt("Off", "Load This Plugin", 0);
    Register(4, "Bare", ModuleFolder() + "test_plugin_bare.so", "");
    Register(5, "B", "test_plugin_b.so", ".b");

    const auto list = Load();
    ASSERT_EQ(list->GetCount(), 3);
    const CDatasystemPlugin* a = list->GetPlugin(0);
    EXPECT_EQ(a->Name, "Reader A");
    EXPECT_EQ(a->Extension, ".a");
    EXPECT_EQ(a->Filter, "A files (*.a)|*.a");
    EXPECT_EQ(a->RegisteredPath, "test_plugin_a.so");
    EXPECT_EQ(a->GetModulePath(), ModuleFolder() + "test_plugin_a.so"); // relative: from the program folder
    EXPECT_TRUE(a->HasModule());
    EXPECT_EQ(list->GetPlugin(1)->GetModulePath(), ModuleFolder() + "test_plugin_bare.so"); // absolute: unchanged
    EXPECT_EQ(list->GetPlugin(2)->Name, "Test plug-in B");
    EXPECT_EQ(list->GetPlugin(3), nullptr);
    EXPECT_TRUE(messages.entries.empty());
    // SetRegistryPath was called once with the plug-in's section.
    EXPECT_EQ(Int("A", "SetRegistryPathCalls"), 1);
    EXPECT_EQ(Int("B", "SetRegistryPathCalls"), 1);
    EXPECT_EQ(Int("Off", "SetRegistryPathCalls"), 0);
}

TEST_F(DatasystemPluginsTest, NoRegisteredSlotEndsStartUp)
{
    try {
        Load();
        FAIL() << "expected CUserException";
    } catch (const CUserException&) {
    }
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "Error reading number of file types plugins.");
}

TEST_F(DatasystemPluginsTest, AModuleThatFailsToLoadStaysInertInTheList)
{
    TempDir dir;
    const std::string broken = dir.File("broken.so");
    WriteAllText(broken, "not a module");
    Register(0, "Broken", broken, ".raw");
    Register(1, "Missing", "no-such-module.so", ".raw");
    const auto list = Load();
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_FALSE(list->GetPlugin(0)->HasModule());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Error Loading Module " + broken,
                                        "Error Loading Module " + ModuleFolder() + "no-such-module.so"}));
    // Open stops at the first eligible plug-in without a module and says why.
    messages.entries.clear();
    EXPECT_FALSE(list->OpenInDatasystem("/data/run.raw"));
    EXPECT_NE(messages.Texts().at(0).find("cannot open '/data/run.raw' in a data system program"), std::string::npos);
}

TEST_F(DatasystemPluginsTest, ChromatogramFilterListsEachPluginThenAllKnownTypes)
{
    Register(0, "A", "test_plugin_a.so", ".a", "A files (*.a)|*.a");
    Register(1, "NoExt", "test_plugin_bare.so", "", "N files (*.n)|*.n");
    Register(2, "NoFilter", "test_plugin_bare.so", ".nf", "");
    Register(3, "B", "test_plugin_b.so", ".b", "B files (*.b)|*.b");
    EXPECT_EQ(Load()->BuildChromatogramFilter(), "A files (*.a)|*.a|B files (*.b)|*.b|All known file types|*.a;*.b;||");
}

TEST_F(DatasystemPluginsTest, MassSpecsFilterTakesThePluginTextsUnchanged)
{
    Register(0, "A", "test_plugin_a.so", ".a");
    SetText("A", "MassSpecsFilter", "MSP (*.msp)|*.msp|");
    SetText("A", "MassSpecsEnding", ".msp");
    Register(1, "Bare", "test_plugin_bare.so", ".x"); // no GetMassSpecsReadFilter export
    Register(2, "B", "test_plugin_b.so", ".b");       // exports it but gives no filter
    Register(3, "Broken", "no-such-module.so", ".y"); // no module
    const auto list = Load();
    EXPECT_EQ(list->BuildMassSpecsFilter(), "MSP (*.msp)|*.msp|All known file types|*.msp;||");
}

TEST_F(DatasystemPluginsTest, FiltersOfAnEmptyListAbandonTheOperation)
{
    CDatasystemPlugins empty;
    EXPECT_THROW(empty.BuildChromatogramFilter(), CUserException);
    EXPECT_THROW(empty.BuildMassSpecsFilter(), CUserException);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>(2, "Error reading number of file types plugins.")));
}

TEST_F(DatasystemPluginsTest, OpenTriesEligiblePluginsUntilOneSucceeds)
{
    Register(0, "A", "test_plugin_a.so", ".RAW");
    SetInt("A", "OpenCode", EACCES);
    Register(1, "B", "test_plugin_b.so", ".raw");
    const auto list = Load();
    EXPECT_TRUE(list->OpenInDatasystem("/data/run1.raw"));
    EXPECT_EQ(Text("A", "Opened"), "/data/run1.raw");
    EXPECT_EQ(Text("B", "Opened"), "/data/run1.raw");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(DatasystemPluginsTest, OpenReportsTheLastFailureCodeWithTheSystemText)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetInt("A", "OpenCode", EACCES);
    Register(1, "B", "test_plugin_b.so", ".raw");
    SetInt("B", "OpenCode", ENOENT);
    EXPECT_FALSE(Load()->OpenInDatasystem("/data/run1.raw"));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text,
              std::string("DatasystemOpen function call failed giving the reason\n\n") + std::strerror(ENOENT));
    EXPECT_EQ(messages.entries[0].caption, "Corvelinscope");
    EXPECT_EQ(messages.entries[0].icon, MessageIcon::Stop);
}

TEST_F(DatasystemPluginsTest, OverlayDecidesOnTheSecondPathAndReportsAMissingPlugin)
{
    Register(0, "A", "test_plugin_a.so", ".cdf");
    const auto list = Load();
    EXPECT_TRUE(list->OverlayInDatasystem("/data/unknown.raw", "/library/entry.cdf"));
    EXPECT_EQ(Text("A", "Overlaid"), "/data/unknown.raw|/library/entry.cdf");
    EXPECT_FALSE(list->OverlayInDatasystem("/data/unknown.cdf", "/library/entry.raw"));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text, "Could not find a plugin for this file extension.");
    EXPECT_EQ(messages.entries[0].caption, "Corvelinscope");
}

TEST_F(DatasystemPluginsTest, ChemStationFoldersGoToTheAmdisPluginWhateverItsExtension)
{
    Register(0, "Chem", "test_plugin_a.so", ".ms", "", "HP ChemStation (via AMDIS)");
    Register(1, "Other", "test_plugin_b.so", ".cdf", "", "HP ChemStation");
    const auto list = Load();
    EXPECT_TRUE(list->OpenInDatasystem("/data/SAMPLE01.d"));
    EXPECT_EQ(Text("Chem", "Opened"), "/data/SAMPLE01.d");
    EXPECT_EQ(Text("Other", "Opened"), "");
}

TEST(ResolvePluginModulePathTest, RelativePathsAreTakenFromTheProgramFolder)
{
    EXPECT_EQ(ResolvePluginModulePath("../lib/reader.so", "/opt/cs/bin/"), "/opt/cs/bin/../lib/reader.so");
    EXPECT_EQ(ResolvePluginModulePath("plugins/reader.so", "/opt/cs/bin/"), "/opt/cs/bin/plugins/reader.so");
    EXPECT_EQ(ResolvePluginModulePath("/usr/lib/reader.so", "/opt/cs/bin/"), "/usr/lib/reader.so");
}

} // namespace
