#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/platform/Registry.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

RegistryValue Text(std::string_view text, std::uint32_t type = RegSz)
{
    RegistryValue value{type, {text.begin(), text.end()}};
    value.Data.push_back(0);
    return value;
}

RegistryValue Dword(std::uint32_t n)
{
    return RegistryValue{RegDword,
                         {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
}

TEST(Registry, ValuesOfEveryTypeSurviveTheFile)
{
    TempDir dir;
    const CRegistry registry(dir.File("reg"));
    const std::string key = "SOFTWARE\\Felsmark Labs\\Settings";
    const std::vector<std::pair<std::string, RegistryValue>> values = {
        {"UseRegistry", Dword(0xdeadbeef)},
        {"Name", Text("with \"quotes\", back\\slash, ]bracket and \ttab")},
        {"Path", Text("%HOME%/x", RegExpandSz)},
        {"", Text("default value")},
        {"NoZero", RegistryValue{RegSz, {'a', 'b'}}},
        {"Inner", RegistryValue{RegSz, {'a', 0, 'b', 0}}},
        {"Blob", RegistryValue{RegBinary, {0, 1, 0xff}}},
        {"Odd", RegistryValue{0x1234, {}}},
    };
    for (const auto& [name, value] : values)
        ASSERT_TRUE(registry.SetValue(RegistryRoot::LocalMachine, key, name, value)) << name;
    for (const auto& [name, value] : values) {
        const auto read = registry.QueryValue(RegistryRoot::LocalMachine, "software\\FELSMARK LABS\\settings\\", name);
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(*read, value) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File("reg/system.reg")));
    EXPECT_FALSE(registry.QueryValue(RegistryRoot::CurrentUser, key, "UseRegistry"));
}

TEST(Registry, FileFormatIsReadable)
{
    const std::string text = "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Felsmark Labs\\\\Settings] 1700000000\n"
                             "\"UseRegistry\"=dword:00000001\n@=\"dflt\"\n\"Exp\"=str(2):\"%A%\"\n"
                             "\"Bin\"=hex:01,02,\\\n  03\n";
    EXPECT_EQ(FormatRegistryFile(ParseRegistryFile(text)),
              "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Felsmark Labs\\\\Settings]\n\"UseRegistry\"=dword:00000001\n"
              "@=\"dflt\"\n\"Exp\"=str(2):\"%A%\"\n\"Bin\"=hex:01,02,03\n");
}

TEST(Registry, OpenKeyCreatesTheKeyOnceAndImpliesParents)
{
    TempDir dir;
    const CRegistry registry(dir.Path().string());
    EXPECT_TRUE(registry.OpenKey(RegistryRoot::CurrentUser, "SOFTWARE\\Co\\Section\\"));
    const std::string file = registry.FilePath(RegistryRoot::CurrentUser);
    EXPECT_EQ(ReadAllText(file), "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Co\\\\Section]\n");
    EXPECT_TRUE(registry.OpenKey(RegistryRoot::CurrentUser, "software\\co"));
    EXPECT_EQ(ReadAllText(file), "WINE REGISTRY Version 2\n\n[SOFTWARE\\\\Co\\\\Section]\n");
    EXPECT_FALSE(registry.OpenKey(RegistryRoot::CurrentUser, "a\\\\b"));
    EXPECT_FALSE(registry.OpenKey(RegistryRoot::CurrentUser, ""));
}

TEST(Registry, KeyThatCannotBeCreatedFailsButExistingKeysStayReadable)
{
    TempDir dir;
    // A file where the registry folder should be: nothing can be created below it.
    WriteAllText(dir.File("blocked"), "x");
    const CRegistry blocked(dir.File("blocked"));
    EXPECT_FALSE(blocked.OpenKey(RegistryRoot::LocalMachine, "SOFTWARE\\Co\\Settings\\"));
    EXPECT_FALSE(blocked.SetValue(RegistryRoot::LocalMachine, "SOFTWARE\\Co\\Settings\\", "v", Dword(1)));
    EXPECT_FALSE(blocked.QueryValue(RegistryRoot::LocalMachine, "SOFTWARE\\Co\\Settings\\", "v"));
}

TEST(Registry, FolderFromTheEnvironment)
{
    const char* saved = std::getenv("CORVELIN_REGISTRY_DIR");
    const std::string keep = saved ? saved : "";
    setenv("CORVELIN_REGISTRY_DIR", "/tmp/somewhere", 1);
    EXPECT_EQ(CRegistry::DefaultFolder(), "/tmp/somewhere");
    EXPECT_EQ(CRegistry(CRegistry::DefaultFolder()).FilePath(RegistryRoot::ClassesRoot), "/tmp/somewhere/classes.reg");
    unsetenv("CORVELIN_REGISTRY_DIR");
    EXPECT_NE(CRegistry::DefaultFolder().find("corvelinscope/registry"), std::string::npos);
    if (saved)
        setenv("CORVELIN_REGISTRY_DIR", keep.c_str(), 1);
}

TEST(Registry, JunkLinesAreSkipped)
{
    const std::string text =
        std::string("junk\n\"orphan\"=dword:1\n[K]\n\"a\"=dword:zz\n\"b\"=hex:0g\n\"c\"=str(2):\"x\n"
                    "\"d\"=\"ok\"\n\"d\"=\"second\"\n[\n[\\\\bad]\n\"e\"=dword:2\n") +
        std::string("\0\xff\n", 3);
    const auto keys = ParseRegistryFile(text);
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0].Values.size(), 1u);
    EXPECT_EQ(keys[0].Values[0].first, "d");
    EXPECT_EQ(keys[0].Values[0].second, Text("ok"));
}

} // namespace
