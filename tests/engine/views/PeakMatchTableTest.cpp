// The peak match table: row order around the 0.0005 assignment limit, the factor columns of the matchings that
// are on, the area factor's in-range sums, the sort toggling kept per process, the build's refusals and the
// CSV text.
#include <gtest/gtest.h>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/table/ReportTable.h"
#include "engine/views/PeakMatchTable.h"
#include "tests/support/RecordingMessageSink.h"

using namespace corvelin;

namespace {

// A chromatogram of peaks (RT, area); height = area / 2, start/end 0.05 min around the apex, RI = 100 * RT.
CLibraryChromatogram Chromatogram(const std::string& path, const std::vector<std::pair<double, double>>& peaks)
{
    CLibraryChromatogram c;
    c.SourcePath = path;
    c.SampleName = "sample of " + path;
    int number = 0;
    for (const auto& [rt, area] : peaks) {
        CLibraryChromatogramPeakData& p = c.AddPeak();
        p.RT = rt;
        p.Area = area;
        p.Height = area / 2;
        p.StartRT = rt - 0.05;
        p.EndRT = rt + 0.05;
        p.RI = rt * 100;
        p.PeakNumber = ++number;
        c.TotalArea += area;
        c.TotalHeight += area / 2;
    }
    c.PeakCount = number;
    return c;
}

std::vector<std::string> Row(const CReportTable& t, int r)
{
    return t.Row(r).Cells;
}

TEST(PeakMatchTable, MatchedRowsFirstThenUnmatchedThisThenUnmatchedOther)
{
    const CLibraryChromatogram self = Chromatogram("/a/this", {{1.0, 10}, {2.0, 20}, {3.0, 30}});
    const CLibraryChromatogram other = Chromatogram("/b/other", {{3.1, 40}, {1.1, 50}, {5.0, 60}});
    CCellTable cells(3, 3);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            cells(i, j) = 0;
    cells(0, 1) = 0.0005; // just assigned
    cells(1, 2) = 0.0004; // just not: peak 2 of "this" and peak 3 of "other" stay unmatched
    cells(2, 0) = 0.8;
    CSearchOptions options;
    options.MSMatching = 0;
    options.RTMatching = 0;
    options.AreaMatching = 1;
    CReportTable table;
    SetUpPeakMatchColumns(table);
    FillPeakMatchRows(self, other, options, cells, table);

    ASSERT_EQ(table.RowCount(), 4);
    const std::vector<std::string> first = Row(table, 0);
    EXPECT_EQ(first[0], "1.00");
    EXPECT_EQ(first[1], " 1");
    EXPECT_EQ(first[3], "16.67 %");
    EXPECT_EQ(first[9], "1.10");
    EXPECT_EQ(first[10], " 2");
    EXPECT_EQ(first[12], "33.33 %");
    EXPECT_EQ(first[18], "0.001");
    EXPECT_EQ(first[19], "") << "RT matching is off: its column stays empty";
    EXPECT_EQ(first[21], "0.500") << "area 10 of 60 against 50 of 150";
    EXPECT_EQ(first[23], "");
    EXPECT_EQ(Row(table, 1)[1], " 3");
    EXPECT_EQ(Row(table, 1)[10], " 1");

    const std::vector<std::string> lonelyThis = Row(table, 2);
    EXPECT_EQ(lonelyThis[1], " 2");
    for (int c = 9; c <= 17; ++c)
        EXPECT_EQ(lonelyThis[c], "-") << c;
    for (int c = 18; c <= 23; ++c)
        EXPECT_EQ(lonelyThis[c], "") << c;
    const std::vector<std::string> lonelyOther = Row(table, 3);
    for (int c = 0; c <= 8; ++c)
        EXPECT_EQ(lonelyOther[c], "-") << c;
    EXPECT_EQ(lonelyOther[9], "5.00");
    EXPECT_EQ(lonelyOther[10], " 3");
}

// The area factor of a pair is taken against the in-range area sums when a range is set, else the totals.
TEST(PeakMatchTable, AreaFactorUsesInRangeSumsOnlyWithARange)
{
    CSearchOptions options;
    options.MSMatching = 0;
    options.RTMatching = 1;
    options.AreaMatching = 1;
    options.HeightMatching = 1;
    for (const char* range : {"*", "1-3"}) {
        options.TimeRange = range;
        CPeakMatchTable model;
        CReportTable table;
        model.Build(Chromatogram("/a/x", {{2.0, 10}, {5.0, 90}}), Chromatogram("/b/y", {{2.0, 20}, {5.0, 20}}), options,
                    table, false);
        ASSERT_GE(table.RowCount(), 1) << range;
        const std::vector<std::string> row = Row(table, 0);
        ASSERT_EQ(row[9], "2.00");
        // "*": 10 of 100 against 20 of 40 -> 0.2; "1-3": 10 of 10 against 20 of 20 -> 1.
        EXPECT_EQ(row[21], std::string(range) == "*" ? "0.200" : "1.000") << range;
        EXPECT_EQ(row[22], "0.200") << "heights are always relative to the totals";
        EXPECT_EQ(row[19], "1.000");
        EXPECT_EQ(row[20], "");
    }
}

TEST(PeakMatchTable, TwoPeaklessChromatogramsGiveAnEmptyTable)
{
    CPeakMatchTable model;
    CReportTable table;
    table.InsertColumn("old", 10);
    table.AddRow({"old row"});
    model.Build(Chromatogram("/a/x", {}), Chromatogram("/b/y", {}), CSearchOptions{}, table, false);
    EXPECT_TRUE(model.HasBuilt());
    EXPECT_EQ(table.ColumnCount(), 24);
    EXPECT_EQ(table.Header(12), "Area % (Other)");
    EXPECT_EQ(table.RowCount(), 0);
}

TEST(PeakMatchTable, HeaderClicksToggleFromTheColumnsDefaultDirection)
{
    CPeakMatchSort::Reset();
    EXPECT_EQ(CPeakMatchSort::NextKey(2), -3) << "Area (this) sorts descending first";
    EXPECT_EQ(CPeakMatchSort::NextKey(2), 3);
    EXPECT_EQ(CPeakMatchSort::NextKey(2), -3);
    EXPECT_EQ(CPeakMatchSort::NextKey(0), 1) << "RT (this) sorts ascending first";
    EXPECT_EQ(CPeakMatchSort::NextKey(0), -1);
    EXPECT_EQ(CPeakMatchSort::NextKey(18), -19);
    EXPECT_EQ(CPeakMatchSort::NextKey(17), 18);

    // "-" cells sort as 0.
    CReportTable table;
    SetUpPeakMatchColumns(table);
    table.AddRow({"5.00"});
    table.AddRow({"-"});
    table.AddRow({"1.00"});
    CPeakMatchSort::Reset();
    SortPeakMatchTable(table, 0);
    EXPECT_EQ(table.Cell(0, 0), "-");
    EXPECT_EQ(table.Cell(2, 0), "5.00");
    CPeakMatchSort::Reset();
}

TEST(PeakMatchTable, BuildRefusesMissingPathsAndMultipleMatching)
{
    CReportTable table;
    table.InsertColumn("previous", 10);
    table.AddRow({"kept"});
    CPeakMatchTable model;
    CSearchOptions options;
    {
        RecordingMessageSink sink;
        EXPECT_EQ(model.Build("/a/x", "", options, table), CPeakMatchTable::Outcome::MissingPath);
        ASSERT_EQ(sink.entries.size(), 1u);
        EXPECT_EQ(sink.entries[0].text, "Please choose the files to compare");
        EXPECT_EQ(sink.entries[0].caption, "Corvelinscope");
    }
    options.MultipleMatching = 1;
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        RecordingMessageSink sink;
        sink.answers.push_back(answer);
        EXPECT_EQ(model.Build("/a/x", "/b/y", options, table), answer == MessageAnswer::Yes
                                                                   ? CPeakMatchTable::Outcome::OpenOptions
                                                                   : CPeakMatchTable::Outcome::MultipleMatching);
        ASSERT_EQ(sink.Texts("yesno").size(), 1u);
        EXPECT_EQ(sink.Texts("yesno")[0],
                  "This function requires multiple matching to be disabled.\nDo you like to switch it off now?");
    }
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cell(0, 0), "kept");
    EXPECT_FALSE(model.HasBuilt());
}

TEST(PeakMatchTable, CsvTextFollowsTheDisplayOrderAndLeavesHiddenColumnsOut)
{
    CLibraryChromatogram self = Chromatogram("/data/run1.raw", {{1.0, 10}});
    CLibraryChromatogram other = Chromatogram("/data/run2.raw", {{1.0, 10}, {2.0, 5}});
    CSearchOptions options;
    options.RTMatching = 1;
    options.RTWindowWidth = 0.25;
    options.MassThresholdOn = 1;
    options.MassThreshold = 2;
    CReportTable table;
    table.InsertColumn("A", 10);
    table.InsertColumn("Hidden", 0);
    table.InsertColumn("B/C", 10);
    table.SetDisplayOrder({2, 1, 0});
    table.AddRow({"x", "never", "1/2"});

    const std::string expected = "Peak compare table for = /data/run1.raw (this) and /data/run2.raw (other)\n"
                                 "\n"
                                 "Sample name (this) = sample of /data/run1.raw\n"
                                 "Number of peaks (this) = 1\n"
                                 "\n"
                                 "Sample name (other) sample of /data/run2.raw\n"
                                 "Number of peaks (other) = 2\n"
                                 "\n"
                                 "Compare parameters:\n"
                                 "MS matching = Yes\n"
                                 "RT matching = Yes\n"
                                 "RI matching = No\n"
                                 "Area matching = No\n"
                                 "Height matching = No\n"
                                 "Area/Height compare option = relative area/height\n"
                                 "\n"
                                 "RT search range: *\n"
                                 "Weighting: none\n"
                                 "RT window width: 0.25\n"
                                 "Mass Threshold used: Yes\n"
                                 "Mass Threshold: 2.00 %\n"
                                 "Area Threshold used: No\n"
                                 "\n"
                                 "Peak compare table:\n"
                                 "\"B of C\",\"A\",\n"
                                 "\"1 of 2\",\"x\",\n";
    EXPECT_EQ(PeakMatchCsvText(self, other, options, table), expected);
    EXPECT_EQ(PeakMatchCsvFileName("/data/run1.raw", "C:\\d\\run2.raw"), "run1.raw_run2.raw");
    EXPECT_EQ(PeakMatchCsvFileName("run1.raw", "/data/run2.raw"), "");
}

// A chromatogram whose areas and heights total 0 prints "0.00 %", never nan or inf; an entry whose header claims
// more peaks than it holds gives the table of the peaks it holds (as the match matrix does).
TEST(PeakMatchTable, ZeroTotalsAndOverstatedPeakCountsGiveAWholeTable)
{
    CLibraryChromatogram claims = Chromatogram("/b/claims", {{2.0, 10}});
    claims.PeakCount = 7;
    CPeakMatchTable model;
    CReportTable table;
    ASSERT_NO_THROW(model.Build(Chromatogram("/a/zero", {{2.0, 0}, {4.0, 0}}), claims, CSearchOptions{}, table, false));
    ASSERT_EQ(table.RowCount(), 2); // the peaks at 2.0 pair, the one at 4.0 is left
    for (int r = 0; r < table.RowCount(); ++r)
        for (const std::string& cell : Row(table, r))
            EXPECT_TRUE(cell.find("nan") == std::string::npos && cell.find("inf") == std::string::npos) << cell;
    EXPECT_EQ(Row(table, 0)[3], "0.00 %");
    EXPECT_EQ(Row(table, 0)[12], "100.00 %");
}

} // namespace
