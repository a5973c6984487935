#include <gtest/gtest.h>

#include <fstream>

#include "engine/workflow/FileArgument.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

std::string Touch(const TempDir& dir, const std::string& name)
{
    const std::string path = dir.File(name);
    std::ofstream(path) << "x";
    return path;
}

} // namespace

TEST(FileArgumentTest, TakesTheFirstExistingFileThatIsNoKeyword)
{
    TempDir dir;
    const std::string entry = Touch(dir, "run1.ChromLibEntry");
    const std::string params = Touch(dir, "method.SPF");
    // A missing file, a folder and keyword arguments come first and are passed over.
    const CFileArgument found =
        FindFileArgument({"corvelinscope", "/MS=1", dir.File("missing.cdf"), dir.Path(), entry, params});
    EXPECT_EQ(found.Path, entry);
    EXPECT_FALSE(found.IsParameterFile);

    const CFileArgument spf = FindFileArgument({"corvelinscope", params});
    EXPECT_EQ(spf.Path, params);
    EXPECT_TRUE(spf.IsParameterFile);
}

TEST(FileArgumentTest, TheProgramItselfIsNoFileArgument)
{
    TempDir dir;
    const std::string program = Touch(dir, "corvelinscope");
    EXPECT_EQ(FindFileArgument({program}).Path, "");
    EXPECT_EQ(FindFileArgument({program, "", "/Save"}).Path, "");
}
