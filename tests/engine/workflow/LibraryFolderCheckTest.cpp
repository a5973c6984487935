#include <gtest/gtest.h>

#include <filesystem>

#include "engine/workflow/LibraryFolderCheck.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// Every spelling of the root folder is refused, also through ".." and a symbolic link; a real folder is not.
TEST(LibraryFolderCheck, RefusesTheRootFolderHoweverItIsNamed)
{
    TempDir dir;
    std::filesystem::create_symlink("/", dir.File("root-link"));
    for (const std::string& folder : {std::string("/"), std::string("/usr/.."), std::string("/."), std::string("//"),
                                      dir.File("root-link"), dir.File("root-link/")}) {
        const std::string problem = LibraryFolderProblem(folder);
        EXPECT_NE(problem.find("is the root of the file system"), std::string::npos) << folder << ": " << problem;
    }
    EXPECT_EQ(LibraryFolderProblem(dir.Path().string()), "");
    EXPECT_EQ(LibraryFolderProblem(dir.File("root-link/tmp")), "");
}

} // namespace
