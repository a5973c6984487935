#include <gtest/gtest.h>

#include "engine/workflow/Conversion.h"

using namespace corvelin;

namespace {

struct NameCase {
    const char* file;
    const char* entry;
    bool insideRunFolder;
};

class EntryNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryNames, FollowTheDataFile)
{
    EXPECT_EQ(LibraryEntryName(GetParam().file), GetParam().entry);
    EXPECT_EQ(IsInsideRunFolder(GetParam().file), GetParam().insideRunFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EntryNames,
    ::testing::Values(NameCase{"C:\\data\\run1.D\\data.ms", "C:\\data\\run1.D.ChromLibEntry", true},
                      NameCase{"/data/run1.D/data.ms", "/data/run1.D.ChromLibEntry", true},
                      NameCase{"/data/RUN1.d/DATA.MS", "/data/RUN1.d.ChromLibEntry", true},
                      NameCase{"/data/run1.D/run1.hpt", "/data/run1.ChromLibEntry", true},
                      NameCase{"C:\\data\\run1.D\\run1.HPT", "C:\\data\\run1.ChromLibEntry", true},
                      NameCase{"/data/x.d/y.d/run.hpt", "/data/x.ChromLibEntry", true},
                      NameCase{".d/run.hpt", ".d/run.hpt.ChromLibEntry", false},
                      NameCase{"/data/sample.elu", "/data/sample.elu.ChromLibEntry", false},
                      NameCase{"/data/run1.D/run1.elu", "/data/run1.D/run1.elu.ChromLibEntry", true},
                      NameCase{"/data/run1.raw", "/data/run1.raw.ChromLibEntry", false},
                      NameCase{"/data/data.ms", "/data/data.ms.ChromLibEntry", false}));

} // namespace
