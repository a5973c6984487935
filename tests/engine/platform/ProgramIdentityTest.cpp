#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

#include "engine/platform/ProgramFolder.h"
#include "engine/platform/UserName.h"

using namespace corvelin;

namespace {

TEST(ProgramIdentity, ProgramFolderIsTheFolderOfThisTestProgram)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(std::filesystem::path(folder).parent_path(), std::filesystem::canonical("/proc/self/exe").parent_path());
}

TEST(ProgramIdentity, UserNameIsTheEffectiveUsersLoginName)
{
    const struct passwd* pw = ::getpwuid(::geteuid());
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(LoggedOnUserName(), pw->pw_name);
}

} // namespace
