#include <gtest/gtest.h>

#include <filesystem>

#include "engine/views/SummaryInputs.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// One file named in several spellings (with "./", "..", a link, through its folder) is summarised once, at its
// first place; a missing input is named with the system's reason; an output that is an input is recognised.
TEST(SummaryInputs, OneFileOnceAndEveryLeftOutInputNamed)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("runs"));
    WriteAllText(dir.File("runs/a.raw"), "a");
    WriteAllText(dir.File("runs/b.raw"), "b");
    WriteAllText(dir.File("runs/notes.txt"), "n");
    std::filesystem::create_symlink(dir.File("runs/a.raw"), dir.File("link.raw"));
    const auto raw = [](const std::string& name) { return name.size() > 4 && name.substr(name.size() - 4) == ".raw"; };

    const CSummaryInputs inputs =
        ResolveSummaryInputs({dir.File("runs/./a.raw"), dir.File("missing.raw"), dir.File("runs/../runs/a.raw"),
                              dir.File("link.raw"), dir.File("runs")},
                             raw);
    EXPECT_EQ(inputs.Paths, (std::vector<std::string>{dir.File("runs/./a.raw"), dir.File("runs/b.raw")}));
    ASSERT_EQ(inputs.LeftOut.size(), 1u);
    EXPECT_EQ(inputs.LeftOut[0].Path, dir.File("missing.raw"));
    EXPECT_EQ(inputs.LeftOut[0].Reason, "No such file or directory");

    EXPECT_TRUE(IsOneOfTheFiles(dir.File("link.raw"), inputs.Paths));
    EXPECT_TRUE(IsOneOfTheFiles(dir.File("runs/b.raw"), inputs.Paths));
    EXPECT_FALSE(IsOneOfTheFiles(dir.File("runs/notes.txt"), inputs.Paths));
    EXPECT_FALSE(IsOneOfTheFiles(dir.File("new.csv"), inputs.Paths));
}

} // namespace
