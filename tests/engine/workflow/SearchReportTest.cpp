#include <gtest/gtest.h>

#include <ctime>

#include "engine/options/SearchOptions.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/SearchReport.h"

using namespace corvelin;

namespace {

std::time_t LocalTime(int year, int month, int day, int hour, int minute)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TEST(SearchReport, FileNameDropsExactlyFourCharactersAndAddsTheTime)
{
    const std::time_t when = LocalTime(2012, 12, 17, 14, 5);
    EXPECT_EQ(SearchReportFileName("/data/run1.raw", when), "/data/run1 2012-12-17 14-05.csv");
    EXPECT_EQ(SearchReportFileName("/data/run1.D", when), "/data/ru 2012-12-17 14-05.csv");
    EXPECT_EQ(SearchReportFileName("ab", when), " 2012-12-17 14-05.csv");
}

TEST(SearchReport, EmptyListStillGivesTheWholeFile)
{
    CReportTable hits;
    for (const char* header : kHitListHeaders)
        hits.InsertColumn(header, 40);
    hits.SetWidth(2, 0); // hidden columns are left out
    CSearchOptions o;
    o.MSMatching = 1;
    o.RTMatching = 0;
    o.RIMatching = 1;
    o.RIWindowWidth = 12.25;
    o.AreaThresholdOn = 1;
    o.AreaThreshold = 0.5;
    o.MassThresholdOn = 0;
    o.Weighting = 4;
    o.TimeRange = "*";
    const std::string text = SearchReportText({"/d/u.raw", "S1", " 7", "/lib/", ""}, o, hits);
    EXPECT_EQ(text, "Library search results for = /d/u.raw\nSample Name = S1\nNumber of Peaks =  7\n"
                    "Chromatogram Library =  /lib/\n\nSearch Parameter:\nMS matching = Yes\nRT matching = No\n"
                    "RI matching = Yes\nArea matching = No\nHeight matching = No\n"
                    "Area/Height compare option = relative area/height\nRT search range: *\n"
                    "Allow multiple matching = No\nWeighting: log(Height)\nRI window width: 12.2\n"
                    "Mass Threshold used: No\nArea Threshold used: Yes\nArea Threshold: 0.50 %\n\nLibrary Hits:\n"
                    "\"File\",\"S.Name\",\"Foward\",\"Reverse\",\"nPeaks Forward\",\"nPeaks Reverse\",\"Forw MS\","
                    "\"Forw RT\",\"Forw RI\",\"Forw Ar\",\"Forw Hg\",\"Rev MS\",\"Rev RT\",\"Rev RI\",\"Rev Ar\","
                    "\"Rev Hg\",\n");
}

TEST(SearchReport, UnwritableFileShowsTheSystemTextAndTheHint)
{
    RecordingMessageSink sink;
    TempDir dir;
    CReportTable hits;
    std::string path;
    const std::time_t when = LocalTime(2020, 1, 2, 3, 4);
    EXPECT_FALSE(WriteSearchReport({dir.File("missing/u.raw"), "", "", "", ""}, CSearchOptions(), hits, &path, when));
    EXPECT_EQ(path, dir.File("missing/u 2020-01-02 03-04.csv"));
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"No such file or directory\nCould not open file " + path +
                                                     ". Please ensure that it is not opened, e.g. by Excel."});
    EXPECT_EQ(sink.entries[0].caption, "Corvelinscope");
}

TEST(SearchReport, ReplacesAnExistingFileWithCrLfLines)
{
    TempDir dir;
    CReportTable hits;
    hits.InsertColumn("File", 40);
    hits.AddRow({"a/b"});
    std::string path;
    WriteAllText(dir.File("u 2020-01-02 03-04.csv"), std::string(5000, '#'));
    ASSERT_TRUE(WriteSearchReport({dir.File("u.raw"), "", "", "", ""}, CSearchOptions(), hits, &path,
                                  LocalTime(2020, 1, 2, 3, 4)));
    const std::string text = ReadAllText(path);
    const std::string tail = "Hits:\r\n\"File\",\r\n\"a of b\",\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.find('#'), std::string::npos);
}

} // namespace
