#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/core/Exceptions.h"
#include "engine/table/ReportTable.h"

using namespace corvelin;

namespace {

CReportTable MakeTable(const std::vector<std::vector<std::string>>& rows, int columns)
{
    CReportTable t;
    for (int c = 0; c < columns; ++c)
        t.InsertColumn(std::string("H").append(std::to_string(c)), 40 + c);
    for (std::size_t i = 0; i < rows.size(); ++i)
        t.AddRow(rows[i], 100 + i);
    return t;
}

std::vector<std::string> ColumnTexts(const CReportTable& t, int column)
{
    std::vector<std::string> out;
    for (int r = 0; r < t.RowCount(); ++r)
        out.push_back(t.Cell(r, column));
    return out;
}

TEST(ReportTable, RowsArePaddedAndColumnsAppendedToEveryRow)
{
    CReportTable t = MakeTable({{"a"}, {"b", "c", "dropped?"}}, 2);
    EXPECT_EQ(t.Cell(0, 1), "");
    EXPECT_EQ(t.Row(1).Cells.size(), 2u);
    t.InsertColumn("late", 10);
    EXPECT_EQ(t.Cell(1, 2), "");
    EXPECT_EQ(t.DisplayOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(t.Column(2).InsertedWidth, 10);
    EXPECT_THROW(t.Cell(2, 0), CInvalidArgumentException);
    EXPECT_THROW(t.SetDisplayOrder({0, 0, 1}), CInvalidArgumentException);
    EXPECT_THROW(t.SetDisplayOrder({0, 1}), CInvalidArgumentException);
}

TEST(ReportTable, VisibleColumnsFollowIndexOrDisplayOrder)
{
    CReportTable t = MakeTable({}, 4);
    t.SetWidth(1, 0);
    t.SetDisplayOrder({3, 1, 0, 2});
    EXPECT_EQ(t.VisibleColumnsByIndex(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(t.VisibleColumnsByDisplay(), (std::vector<int>{3, 0, 2}));
}

TEST(ReportTable, DescendingRealSortMovesWholeRows)
{
    CReportTable t = MakeTable({{"a", "0.500", "-"}, {"b", "0.900", "x"}, {"c", "-", "y"}, {"d", "0.700", "z"}}, 3);
    t.SetSelected(3, true);
    t.Sort({-2, kCompareReal});
    EXPECT_EQ(ColumnTexts(t, 0), (std::vector<std::string>{"b", "d", "a", "c"}));
    EXPECT_EQ(ColumnTexts(t, 2), (std::vector<std::string>{"x", "z", "-", "y"}));
    EXPECT_EQ(t.ItemData(0), 101u);
    EXPECT_TRUE(t.IsSelected(1));
    EXPECT_EQ(t.SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(t.SortKey(0).Column, -2);
}

TEST(ReportTable, PeakCountCellsSortByTheNumberBeforeTheSlash)
{
    CReportTable t = MakeTable({{" 9/12"}, {"12/15"}, {" 3/30"}}, 1);
    t.Sort({-1, kCompareReal});
    EXPECT_EQ(ColumnTexts(t, 0), (std::vector<std::string>{"12/15", " 9/12", " 3/30"}));
    t.Sort({1, kCompareTextNoCase});
    EXPECT_EQ(ColumnTexts(t, 0), (std::vector<std::string>{" 3/30", " 9/12", "12/15"}));
}

TEST(ReportTable, LaterKeysBreakTiesInTheirOwnDirection)
{
    CReportTable t = MakeTable({{"1", "b"}, {"2", "a"}, {"1", "a"}, {"2", "b"}}, 2);
    t.Sort({-1, kCompareInteger}, {2, kCompareText});
    EXPECT_EQ(ColumnTexts(t, 0), (std::vector<std::string>{"2", "2", "1", "1"}));
    EXPECT_EQ(ColumnTexts(t, 1), (std::vector<std::string>{"a", "b", "a", "b"}));
}

TEST(ReportTable, FailedDateSortLeavesRowsUnchanged)
{
    CReportTable t = MakeTable({{"2012-01-02"}, {"junk"}, {"2012-01-01"}}, 1);
    EXPECT_ANY_THROW(t.Sort({1, kCompareDateTime}));
    EXPECT_EQ(ColumnTexts(t, 0), (std::vector<std::string>{"2012-01-02", "junk", "2012-01-01"}));
}

TEST(HeapSort, OrdersAnyInputAndIsDeterministic)
{
    std::mt19937 random(7);
    for (int n = 0; n < 60; ++n) {
        std::vector<int> keys(static_cast<std::size_t>(n));
        for (int& k : keys)
            k = static_cast<int>(random() % 5);
        auto compare = [&](int x, int y) {
            return keys[static_cast<std::size_t>(x)] - keys[static_cast<std::size_t>(y)];
        };
        const std::vector<int> order = HeapSortPositions(n, compare);
        std::vector<int> sortedPositions = order;
        std::sort(sortedPositions.begin(), sortedPositions.end());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(sortedPositions[static_cast<std::size_t>(i)], i);
        for (std::size_t i = 1; i < order.size(); ++i)
            ASSERT_LE(keys[static_cast<std::size_t>(order[i - 1])], keys[static_cast<std::size_t>(order[i])]);
        EXPECT_EQ(order, HeapSortPositions(n, compare));
    }
}

TEST(HeapSort, EqualKeysAreNotKeptInOrder)
{
    // The documented sort is a heap sort: three equal rows come out in the heap's order, not input order.
    const std::vector<int> order = HeapSortPositions(3, [](int, int) { return 0; });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 0}));
}

TEST(ReportTable, AutoSizeRules)
{
    CReportTable t = MakeTable({{"xx", "a much longer text"}}, 2);
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    t.AutoSizeColumns(-1, false, measure);
    EXPECT_EQ(t.Width(0), 43); // 12 is raised to 40, plus 3 for column 0
    EXPECT_EQ(t.Width(1), 108);
    t.AutoSizeColumns(0, true, [](const std::string&) { return 2; });
    EXPECT_EQ(t.Width(0), 13); // at least 10, plus 3
}

TEST(ReportTable, ListenerHearsRowChanges)
{
    CReportTable t = MakeTable({}, 1);
    std::vector<CReportTable::Change> seen;
    t.SetChangeListener([&](CReportTable::Change c, int, int) { seen.push_back(c); });
    t.AddRow({"a"});
    t.Sort({1, kCompareText});
    t.DeleteAllRows();
    EXPECT_EQ(seen, (std::vector<CReportTable::Change>{CReportTable::Change::RowsInserted,
                                                       CReportTable::Change::RowsReordered,
                                                       CReportTable::Change::RowsRemoved}));
}

} // namespace
