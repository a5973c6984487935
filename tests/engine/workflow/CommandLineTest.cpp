#include <gtest/gtest.h>

#include "engine/options/SearchOptions.h"
#include "tests/support/RecordingMessageSink.h"
#include "engine/workflow/CommandLine.h"

using namespace corvelin;

namespace {

CCommandLine Parse(std::vector<std::string> args, CSearchOptions& o, std::vector<std::string>* loaded = nullptr)
{
    args.insert(args.begin(), "/opt/corvelinscope/bin/corvelinscope");
    return ParseCommandLine(args, o, [&](const std::string& path, CSearchOptions& options) {
        if (loaded)
            loaded->push_back(path);
        options.RTMatching = 0; // what the test parameter file holds
        options.RTWindowWidth = 9.0;
    });
}

struct OptionCase {
    const char* arg;
    std::function<double(const CSearchOptions&)> field;
    double expected;
};

class CommandLineOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CommandLineOptions, SetsItsField)
{
    CSearchOptions o;
    o.MSMatching = 1;
    o.RTMatching = 1;
    o.AreaMatching = 0;
    Parse({GetParam().arg}, o);
    EXPECT_DOUBLE_EQ(GetParam().field(o), GetParam().expected) << GetParam().arg;
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, CommandLineOptions,
    ::testing::Values(OptionCase{"/SWnd=0.35", [](const CSearchOptions& o) { return o.RTWindowWidth; }, 0.35},
                      OptionCase{"/riwnd=12.5", [](const CSearchOptions& o) { return o.RIWindowWidth; }, 12.5},
                      OptionCase{"/MS=abc", [](const CSearchOptions& o) { return o.MSMatching; }, 1},
                      OptionCase{"/MS=0", [](const CSearchOptions& o) { return o.MSMatching; }, 0},
                      OptionCase{"/RT=0", [](const CSearchOptions& o) { return o.RTMatching; }, 0},
                      OptionCase{"/RI=7", [](const CSearchOptions& o) { return o.RIMatching; }, 1},
                      OptionCase{"/AREA=1", [](const CSearchOptions& o) { return o.AreaMatching; }, 1},
                      OptionCase{"/Height=-1", [](const CSearchOptions& o) { return o.HeightMatching; }, 1},
                      OptionCase{"/Absolute=1", [](const CSearchOptions& o) { return o.AbsoluteAreaHeight; }, 1},
                      OptionCase{"/Multi=1", [](const CSearchOptions& o) { return o.MultipleMatching; }, 1},
                      OptionCase{"/Weight=4", [](const CSearchOptions& o) { return o.Weighting; }, 4},
                      OptionCase{"/Weight=5", [](const CSearchOptions& o) { return o.Weighting; }, 0},
                      OptionCase{"/Weight=-1", [](const CSearchOptions& o) { return o.Weighting; }, 0},
                      OptionCase{"/MinArea=2.5", [](const CSearchOptions& o) { return o.AreaThreshold; }, 2.5},
                      OptionCase{"/MinArea=2.5", [](const CSearchOptions& o) { return o.AreaThresholdOn; }, 1},
                      OptionCase{"/Unknown=1", [](const CSearchOptions& o) { return o.MSMatching; }, 1}));

TEST(CommandLine, RtRangeIsTakenUnchanged)
{
    CSearchOptions o;
    Parse({"/RTRange=2-5;7-9"}, o);
    EXPECT_EQ(o.TimeRange, "2-5;7-9");
}

// A bad value never reaches the options: the option keeps its value and the argument is reported with a
// reason; so are arguments that are no option at all.
TEST(CommandLine, BadValuesAndUnknownArgumentsAreRefusedAndReported)
{
    CSearchOptions o;
    o.RTWindowWidth = 0.5;
    o.RIWindowWidth = 20;
    o.Weighting = 2;
    o.MSMatching = 1;
    o.TimeRange = "*";
    const std::vector<std::string> bad = {"/SWnd=nan",        "/SWnd=-5",    "/SWnd=inf", "/RIWnd=-25",
                                          "/RTRange=garbage", "/Weight=1.5", "/MS=abc",   "/MinArea=-1",
                                          "/Library=",        "/Bogus=1",    "extra.txt"};
    const CCommandLine line = Parse(bad, o);
    EXPECT_EQ(o.RTWindowWidth, 0.5);
    EXPECT_EQ(o.RIWindowWidth, 20);
    EXPECT_EQ(o.Weighting, 2);
    EXPECT_EQ(o.MSMatching, 1);
    EXPECT_EQ(o.TimeRange, "*");
    EXPECT_EQ(o.AreaThresholdOn, 0);
    EXPECT_EQ(line.LibraryFolder, "");
    ASSERT_EQ(line.Refused.size(), bad.size());
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_TRUE(line.Refused[i].starts_with(bad[i] + ": ")) << line.Refused[i];
    EXPECT_EQ(line.Refused.back(), "extra.txt: unknown argument");
    EXPECT_TRUE(Parse({"/Subfolders=1", "/Display=x", "/Threads=2", "/Save"}, o).Refused.empty());
    EXPECT_EQ(o.SearchSubfolders, 1);
}

TEST(CommandLine, OnlyTheFirstFileOptionCounts)
{
    CSearchOptions o;
    const CCommandLine a = Parse({"/search=/data/u.raw", "/Convert=/data/c.raw", "/Search=/data/other.raw"}, o);
    EXPECT_EQ(a.SearchFile, "/data/u.raw");
    EXPECT_EQ(a.ConvertFile, "");
    EXPECT_TRUE(a.IsBatchSearch());
    EXPECT_FALSE(a.IsBatchConversion());
    const CCommandLine b = Parse({"/Convert=/data/c.raw\"", "/Search=/data/u.raw"}, o);
    EXPECT_EQ(b.ConvertFile, "/data/c.raw");
    EXPECT_EQ(b.SearchFile, "");
}

TEST(CommandLine, LibraryGetsASeparatorAndLosesATrailingQuote)
{
    CSearchOptions o;
    EXPECT_EQ(Parse({"/Library=/data/lib"}, o).LibraryFolder, "/data/lib/");
    EXPECT_EQ(Parse({"/Library=/data/lib/"}, o).LibraryFolder, "/data/lib/");
    EXPECT_EQ(Parse({"/Library=C:\\lib\\"}, o).LibraryFolder, "C:\\lib\\");
    EXPECT_EQ(Parse({"/Library=/data/my lib\""}, o).LibraryFolder, "/data/my lib/");
    EXPECT_EQ(Parse({"/Library=/a", "/Library=/b"}, o).LibraryFolder, "/b/");
}

TEST(CommandLine, SaveAndPrintMatchOnlyExactly)
{
    CSearchOptions o;
    CCommandLine l = Parse({"/SaveX", "/Save=1", "/Printer"}, o);
    EXPECT_FALSE(l.SaveAfterBatch);
    EXPECT_FALSE(l.PrintAfterBatch);
    l = Parse({"/SAVE", "/print"}, o);
    EXPECT_TRUE(l.SaveAfterBatch);
    EXPECT_TRUE(l.PrintAfterBatch);
}

TEST(CommandLine, MinAreaReachesTheConversionOnlyAfterConvert)
{
    CSearchOptions o;
    CCommandLine before = Parse({"/MinArea=3", "/Convert=/d/x.raw"}, o);
    EXPECT_FALSE(before.MinAreaOn);
    EXPECT_EQ(before.MinArea, 0.0);
    EXPECT_EQ(o.AreaThresholdOn, 1);
    EXPECT_EQ(o.AreaThreshold, 3.0);
    CCommandLine after = Parse({"/Convert=/d/x.raw", "/MinArea=3"}, o);
    EXPECT_TRUE(after.MinAreaOn);
    EXPECT_EQ(after.MinArea, 3.0);
    CCommandLine none = Parse({}, o);
    EXPECT_FALSE(none.MinAreaGiven);
    EXPECT_EQ(none.MinArea, 0.5);
}

TEST(CommandLine, ParamsLoadAtTheirPosition)
{
    CSearchOptions o;
    std::vector<std::string> loaded;
    Parse({"/RT=1", "/SWnd=0.2", "/Params=/m/a.spf"}, o, &loaded);
    EXPECT_EQ(o.RTMatching, 0);
    EXPECT_EQ(o.RTWindowWidth, 9.0);
    Parse({"/Params=/m/a.spf", "/RT=1", "/SWnd=0.2"}, o, &loaded);
    EXPECT_EQ(o.RTMatching, 1);
    EXPECT_EQ(o.RTWindowWidth, 0.2);
    EXPECT_EQ(loaded, (std::vector<std::string>{"/m/a.spf", "/m/a.spf"}));
}

TEST(CommandLine, WeightOutOfRangeIsRefusedAndReported)
{
    CSearchOptions o;
    o.Weighting = 2;
    const CCommandLine l = Parse({"/Weight=9"}, o);
    EXPECT_EQ(o.Weighting, 2);
    ASSERT_EQ(l.Refused.size(), 1u);
    EXPECT_EQ(l.Refused[0].rfind("/Weight=9", 0), 0u);
}

TEST(CommandLine, ThreadsLimitTheSearch)
{
    CSearchOptions o;
    EXPECT_EQ(Parse({"/Threads=3"}, o).Threads, 3);
    EXPECT_EQ(Parse({"/Threads=-2"}, o).Threads, 0);
    EXPECT_EQ(Parse({}, o).Threads, 0);
}

TEST(CommandLine, DebugShowsEveryArgumentOnceAfterItsBannerAndReparses)
{
    RecordingMessageSink sink;
    CSearchOptions o;
    std::vector<std::string> loaded;
    const CCommandLine l =
        Parse({"/Params=/p.spf", "/Debug", "/Search=/u.raw\"", "/Library=/lib", "/Convert=/c.raw"}, o, &loaded);
    EXPECT_EQ(l.SearchFile, "/u.raw");
    EXPECT_EQ(loaded.size(), 2u); // before "/Debug": processed twice
    const std::vector<std::string> expected = {
        "Debug mode evoked. Command line is '/Params=/p.spf /Debug /Search=/u.raw\" /Library=/lib /Convert=/c.raw'",
        "Command line argument 0 = '/opt/corvelinscope/bin/corvelinscope'",
        "Command line argument 1 = '/Params=/p.spf'",
        "recieved /Params for file '/p.spf'",
        "Command line argument 2 = '/Debug'",
        "Command line argument 3 = '/Search=/u.raw\"'",
        "recieved /Search for file '/u.raw'",
        "Command line argument 4 = '/Library=/lib'",
        "recieved /Library for file '/lib/'",
        "Command line argument 5 = '/Convert=/c.raw'"};
    EXPECT_EQ(sink.Texts(), expected);
    for (const auto& e : sink.entries) {
        EXPECT_EQ(e.caption, "Corvelinscope debug mode");
        EXPECT_EQ(e.icon, MessageIcon::Information);
    }
}

TEST(CommandLine, DebugClearsTheFileOptionSoTheWalkTakesItAgain)
{
    RecordingMessageSink sink;
    CSearchOptions o;
    const CCommandLine l = Parse({"/Convert=/c.raw", "/Debug", "/Search=/u.raw"}, o);
    EXPECT_EQ(l.ConvertFile, "/c.raw");
    EXPECT_EQ(l.SearchFile, "");
    EXPECT_EQ(sink.Texts()[3], "recieved /Convert for file '/c.raw'");
}

} // namespace
