#include <gtest/gtest.h>

#include "engine/options/SearchOptions.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/SearchSession.h"
#include "tests/support/MemorySettingsStore.h"

using namespace corvelin;

namespace {

CCommandLine Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "corvelinscope");
    CSearchOptions options;
    return ParseCommandLine(args, options, {});
}

// The set-up both programs share: the settings give the start values, the command line overrides what it
// names, and the folder gets its separator only when the search starts.
TEST(SearchSession, StartsFromTheSettingsAndTakesWhatTheCommandLineNames)
{
    ScopedMemorySettings settings;
    settings->WriteSettingString(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "LastFolder", "/lib/last");
    settings->WriteSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "MaxPeaks", 17);

    CSearchSession session;
    EXPECT_EQ(session.LibraryFolder, "/lib/last");
    EXPECT_EQ(session.MaxPeaks, 17);
    session.ApplyCommandLine(Parse({"/Search=/u/run.cdf", "/Threads=3"}));
    EXPECT_EQ(session.UnknownPath, "/u/run.cdf");
    EXPECT_EQ(session.LibraryFolder, "/lib/last"); // no "/Library=": the last folder stays
    ASSERT_TRUE(session.PrepareLibraryFolder());
    const CLibrarySearchRequest request = session.Request();
    EXPECT_EQ(request.LibraryFolder, "/lib/last/");
    EXPECT_EQ(request.MaxPeaks, 17);
    EXPECT_EQ(request.Threads, 3);

    session.ApplyCommandLine(Parse({"/Library=C:\\lib\\"}));
    EXPECT_EQ(session.UnknownPath, "/u/run.cdf"); // no "/Search=": the unknown stays
    ASSERT_TRUE(session.PrepareLibraryFolder());
    EXPECT_EQ(session.LibraryFolder, "C:\\lib\\");

    session.LibraryFolder.clear();
    EXPECT_FALSE(session.PrepareLibraryFolder()); // never "/", the whole file system
    EXPECT_EQ(session.LibraryFolder, "");
}

struct BatchEndCase {
    std::vector<std::string> Args;
    bool Prints;
    bool Saves;
};

class SearchSessionBatchEnd : public testing::TestWithParam<BatchEndCase> {};

// A batch search prints with "/Print" and saves with "/Save" or whenever it does not print.
TEST_P(SearchSessionBatchEnd, PrintsAndSavesAsTheFlagsSay)
{
    ScopedMemorySettings settings;
    CSearchSession session;
    session.ApplyCommandLine(Parse(GetParam().Args));
    EXPECT_EQ(session.PrintsAtBatchEnd(), GetParam().Prints);
    EXPECT_EQ(session.SavesAtBatchEnd(), GetParam().Saves);
}

INSTANTIATE_TEST_SUITE_P(Flags, SearchSessionBatchEnd,
                         testing::Values(BatchEndCase{{"/Search=u"}, false, true},
                                         BatchEndCase{{"/Search=u", "/Save"}, false, true},
                                         BatchEndCase{{"/Search=u", "/Print"}, true, false},
                                         BatchEndCase{{"/Search=u", "/PRINT", "/save"}, true, true}));

} // namespace
