#include <gtest/gtest.h>

#include <string>

#include "engine/plugins/PDLL.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

const std::string kModule = std::string(CORVELIN_TEST_PLUGIN_DIR) + "/test_plugin_bare.so";

TEST(PDLLTest, ReferenceCountKeepsTheModuleUntilTheLastRelease)
{
    PDLL dll(kModule);
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_TRUE(dll.Load(true));
    EXPECT_TRUE(dll.Load(true));
    EXPECT_EQ(dll.GetReferenceCount(), 2);
    dll.Release();
    EXPECT_TRUE(dll.IsLoaded());
    EXPECT_NE(dll.Resolve(PluginExport::IsMassSpecsFileReadable), nullptr);
    dll.Release();
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_EQ(dll.Resolve(PluginExport::IsMassSpecsFileReadable), nullptr);
    dll.Release(); // below zero: nothing happens
    EXPECT_EQ(dll.GetReferenceCount(), 0);
}

TEST(PDLLTest, ExportsAreLookedUpOnceFoundOrNot)
{
    PDLL dll(kModule);
    ASSERT_TRUE(dll.Load(false));
    EXPECT_EQ(dll.GetLookupCount(), 0);
    EXPECT_EQ(dll.Resolve(PluginExport::ReadMassSpecs), nullptr);
    EXPECT_EQ(dll.Resolve(PluginExport::ReadMassSpecs), nullptr);
    EXPECT_EQ(dll.GetLookupCount(), 1);
    void* readable = dll.Resolve(PluginExport::IsMassSpecsFileReadable);
    ASSERT_NE(readable, nullptr);
    EXPECT_EQ(dll.Resolve(PluginExport::IsMassSpecsFileReadable), readable);
    EXPECT_EQ(dll.GetLookupCount(), 2);
    EXPECT_EQ(dll.Get<int (*)(const char*)>(PluginExport::IsMassSpecsFileReadable)("x"), 1);
}

TEST(PDLLTest, AFailedLoadShowsTheMessageOnlyWhenAsked)
{
    TempDir dir;
    const std::string path = dir.File("not-a-module.so");
    WriteAllText(path, "this is text, not a shared object\n");
    RecordingMessageSink messages;
    PDLL quiet(path);
    EXPECT_FALSE(quiet.Load(false));
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_FALSE(quiet.GetLoadError().empty());

    PDLL loud(path);
    EXPECT_FALSE(loud.Load(true));
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "Error Loading Module " + path);
    EXPECT_EQ(loud.Resolve(PluginExport::IsFileReadable), nullptr);
}

TEST(PDLLTest, ExportNamesAreTheInterfaceNames)
{
    EXPECT_STREQ(PluginExportName(PluginExport::SetRegistryPath), "SetRegistryPath");
    EXPECT_STREQ(PluginExportName(PluginExport::GetMassSpecsReadFilter), "GetMassSpecsReadFilter");
    EXPECT_STREQ(PluginExportName(PluginExport::DatasystemOverlay), "DatasystemOverlay");
}

} // namespace
