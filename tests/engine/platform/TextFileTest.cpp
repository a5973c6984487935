#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/Exceptions.h"
#include "engine/platform/TextFile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

TEST(TextFile, TextModeTurnsEveryNewlineIntoCrLf)
{
    EXPECT_EQ(TextModeBytes("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(TextModeBytes("x\r\n"), "x\r\r\n");
    EXPECT_EQ(TextModeBytes(""), "");
}

TEST(TextFile, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("report.csv");
    WriteAllText(path, "old content that is longer than the new one");
    WriteTextFile(path, "new\n");
    EXPECT_EQ(ReadAllText(path), "new\r\n");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(TextFile, MissingFolderThrowsFileNotFoundAndCreatesNothing)
{
    TempDir dir;
    const std::string path = dir.File("no/such/folder/x.csv");
    try {
        WriteFileAtomically(path, "x");
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::FileNotFound);
        EXPECT_EQ(e.GetPath(), path);
        EXPECT_EQ(e.GetOsError(), ENOENT);
    }
}

} // namespace
