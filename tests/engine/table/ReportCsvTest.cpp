#include <gtest/gtest.h>

#include "engine/table/ReportCsv.h"
#include "engine/table/ReportTable.h"

using namespace corvelin;

namespace {

TEST(ReportCsv, FieldsAreQuotedWithTrailingCommaAndSlashesSpelledOut)
{
    EXPECT_EQ(CsvField(" 9/12"), "\" 9 of 12\",");
    EXPECT_EQ(CsvField("a\"b"), "\"a\"b\",");
    EXPECT_EQ(CsvField(""), "\"\",");
}

TEST(ReportCsv, HiddenColumnsAreLeftOutAndOrderFollowsTheWriter)
{
    CReportTable t;
    t.InsertColumn("File", 40);
    t.InsertColumn("Hidden", 40);
    t.InsertColumn("n/m", 40);
    t.AddRow({"x.ChromLibEntry", "h", "1/2"});
    t.SetWidth(1, 0);
    t.SetDisplayOrder({2, 1, 0});
    EXPECT_EQ(CsvTable(t, CsvColumnOrder::ColumnIndex), "\"File\",\"n of m\",\n\"x.ChromLibEntry\",\"1 of 2\",\n");
    EXPECT_EQ(CsvTable(t, CsvColumnOrder::Display), "\"n of m\",\"File\",\n\"1 of 2\",\"x.ChromLibEntry\",\n");
}

TEST(ReportCsv, PathColumnsKeepTheirSlashes)
{
    // Linux folder separators are not counts: "./sub/a.ChromLibEntry" must stay a usable path.
    CReportTable t;
    t.InsertColumn("File", 40);
    t.InsertColumn("nPeaks", 40);
    t.SetHoldsPaths(0, true);
    t.AddRow({"./sub/a.ChromLibEntry", " 9/12"});
    EXPECT_EQ(CsvTable(t, CsvColumnOrder::ColumnIndex),
              "\"File\",\"nPeaks\",\n\"./sub/a.ChromLibEntry\",\" 9 of 12\",\n");
}

TEST(ReportCsv, AllColumnsHiddenGivesEmptyLines)
{
    CReportTable t;
    t.InsertColumn("A", 0);
    t.AddRow({"a"});
    EXPECT_EQ(CsvTable(t, CsvColumnOrder::ColumnIndex), "\n\n");
}

} // namespace
