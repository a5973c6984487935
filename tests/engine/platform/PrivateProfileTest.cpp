#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/IniDocument.h"
#include "engine/platform/PrivateProfile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

std::string Get(const std::string& text, const char* section, const char* key, const char* fallback = "dflt",
                std::size_t buffer = 4096)
{
    return ProfileString(CIniDocument(text), section, key, fallback, buffer);
}

TEST(PrivateProfile, SectionAndKeyLookupIgnoresCaseAndFirstMatchWins)
{
    const std::string text = "[Alpha]\r\nKey=first\r\nkey=second\r\n[ALPHA]\r\nOther=x\r\n[beta]\r\nKEY=b\r\n";
    EXPECT_EQ(Get(text, "alpha", "KEY"), "first");
    // The second [ALPHA] section is never searched: only the first matching section counts.
    EXPECT_EQ(Get(text, "Alpha", "Other"), "dflt");
    EXPECT_EQ(Get(text, "BETA", "key"), "b");
    EXPECT_EQ(Get(text, "gamma", "key"), "dflt");
}

TEST(PrivateProfile, ValueRulesOfTheProfileReader)
{
    const std::string text = "[S]\nq1=\"quoted text\"\nq2='single'\nq3=\"unbalanced\nq4=\"\"\n"
                             "  spaced  =   padded value   \nempty=\nnoequals\nlong=abcdefgh\n";
    EXPECT_EQ(Get(text, "S", "q1"), "quoted text");
    EXPECT_EQ(Get(text, "S", "q2"), "single");
    EXPECT_EQ(Get(text, "S", "q3"), "\"unbalanced");
    EXPECT_EQ(Get(text, "S", "q4"), "");
    EXPECT_EQ(Get(text, "S", "spaced"), "padded value");
    EXPECT_EQ(Get(text, "S", "empty"), "");                     // present but empty: not the default
    EXPECT_EQ(Get(text, "S", "noequals"), "dflt");              // a line without "=" is no key
    EXPECT_EQ(Get(text, "S", "long", "", 5), "abcd");           // a 5-character buffer holds 4 characters
    EXPECT_EQ(Get(text, "S", "missing", "def  ", 4096), "def"); // trailing blanks of the default go
}

struct IntCase {
    const char* value;
    int expected;
};

class ProfileIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(ProfileIntTest, ReadsLeadingDigits)
{
    const std::string text = std::string("[S]\nk=") + GetParam().value + "\n";
    EXPECT_EQ(ProfileInt(CIniDocument(text), "S", "k", 77), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileIntTest,
                         testing::Values(IntCase{"12", 12}, IntCase{"12abc", 12}, IntCase{"abc", 0}, IntCase{"-5", -5},
                                         IntCase{"+7", 7}, IntCase{"", 77}, IntCase{"\"42\"", 42},
                                         IntCase{"4294967295", -1}, IntCase{"0x10", 0}, IntCase{"3.9", 3}));

TEST(PrivateProfile, MissingKeyGivesTheIntegerDefault)
{
    EXPECT_EQ(ProfileInt(CIniDocument("[S]\nother=1\n"), "S", "k", -9), -9);
}

TEST(PrivateProfile, WriteCreatesFileAndSectionsInOrderWithCrLf)
{
    TempDir dir;
    const std::string path = dir.File("sub.ini");
    ASSERT_TRUE(WritePrivateProfileText(path, "One", "a", "1"));
    ASSERT_TRUE(WritePrivateProfileText(path, "Two", "b", "2"));
    ASSERT_TRUE(WritePrivateProfileText(path, "one", "c", "3"));
    EXPECT_EQ(ReadAllText(path), "[One]\r\na=1\r\nc=3\r\n[Two]\r\nb=2\r\n");
}

TEST(PrivateProfile, WriteReplacesInPlaceAndKeepsEverythingElse)
{
    TempDir dir;
    const std::string path = dir.File("keep.ini");
    WriteAllText(path, "; comment\n[Sec]\nKey = old\nnext=1\n\n[Other]\nx=y\n");
    ASSERT_TRUE(WritePrivateProfileText(path, "SEC", "key", "new"));
    ASSERT_TRUE(WritePrivateProfileText(path, "Sec", "added", "2"));
    // The key keeps its spelling, new keys go after the last key, before the blank line.
    EXPECT_EQ(ReadAllText(path), "; comment\r\n[Sec]\r\nKey=new\r\nnext=1\r\nadded=2\r\n\r\n[Other]\r\nx=y\r\n");
}

TEST(PrivateProfile, AbsentTextDeletesTheKey)
{
    TempDir dir;
    const std::string path = dir.File("del.ini");
    WriteAllText(path, "[S]\r\na=1\r\nb=2\r\n");
    ASSERT_TRUE(WritePrivateProfileText(path, "s", "A", nullptr));
    EXPECT_EQ(ReadAllText(path), "[S]\r\nb=2\r\n");
    // Deleting from a missing file does not create it.
    ASSERT_TRUE(WritePrivateProfileText(dir.File("none.ini"), "s", "a", nullptr));
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini")));
}

TEST(PrivateProfile, ValuesCannotAddLines)
{
    TempDir dir;
    const std::string path = dir.File("inject.ini");
    ASSERT_TRUE(WritePrivateProfileText(path, "S", "name", "a\r\n[Evil]\nk=v"));
    EXPECT_EQ(GetPrivateProfileInteger(path, "Evil", "k", 5), 5);
    EXPECT_EQ(GetPrivateProfileText(path, "S", "name", "", 4096), "a  [Evil] k=v");
}

TEST(PrivateProfile, FileThatCannotBeReadIsNeitherReadNorReplaced)
{
    TempDir dir;
    const std::string path = dir.File("huge.ini");
    std::string text = "[S]\nk=1\n";
    text.append(CIniDocument::MaxFileBytes, ';');
    WriteAllText(path, text);
    EXPECT_EQ(GetPrivateProfileInteger(path, "S", "k", 9), 9);
    EXPECT_FALSE(WritePrivateProfileText(path, "S", "k", "2"));
    EXPECT_EQ(std::filesystem::file_size(path), text.size());
    // A folder in place of the file: read gives the default, write fails.
    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_EQ(GetPrivateProfileText(dir.File("folder.ini"), "S", "k", "d", 10), "d");
    EXPECT_FALSE(WritePrivateProfileText(dir.File("folder.ini"), "S", "k", "2"));
}

TEST(PrivateProfile, ConcurrentWritersLoseNoValue)
{
    TempDir dir;
    const std::string path = dir.File("shared.ini");
    std::vector<std::thread> writers;
    for (int w = 0; w < 3; ++w)
        writers.emplace_back([&path, w] {
            for (int i = 0; i < 30; ++i)
                WritePrivateProfileText(
                    path, "S", std::string("w").append(std::to_string(w)).append("k").append(std::to_string(i)), "1");
        });
    for (auto& writer : writers)
        writer.join();
    int found = 0;
    for (int w = 0; w < 3; ++w)
        for (int i = 0; i < 30; ++i)
            found += GetPrivateProfileInteger(
                path, "S", std::string("w").append(std::to_string(w)).append("k").append(std::to_string(i)), 0);
    EXPECT_EQ(found, 90);
}

TEST(IniDocument, EnumeratesSectionsAndTheKeysOfTheFirstSection)
{
    const CIniDocument document("pre=1\n[A]\nx=1\njunk\ny = 2\n[B]\n[a]\nz=3\n");
    const auto names = document.SectionNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "A");
    EXPECT_EQ(names[2], "a");
    std::string seen;
    document.ForEachKey(
        "a", [&](std::string_view k, std::string_view v) { seen += std::string(k) + "=" + std::string(v) + ";"; });
    EXPECT_EQ(seen, "x=1;y=2;");
    // Keys before the first header belong to no section.
    EXPECT_FALSE(document.Find("", "pre"));
}

} // namespace
