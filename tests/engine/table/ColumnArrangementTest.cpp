#include <gtest/gtest.h>

#include "tests/support/MemorySettingsStore.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/table/ReportTable.h"

using namespace corvelin;

namespace {

constexpr const char* kSection = "LibrarySearch";

CReportTable FiveColumns()
{
    CReportTable t;
    for (int c = 0; c < 5; ++c)
        t.InsertColumn(std::string("C").append(std::to_string(c)), 40);
    return t;
}

std::vector<int> Widths(const CReportTable& t)
{
    std::vector<int> out;
    for (int c = 0; c < t.ColumnCount(); ++c)
        out.push_back(t.Width(c));
    return out;
}

void Store(MemorySettingsStore& s, std::initializer_list<std::pair<int, int>> columns)
{
    s.WriteSettingInt(SettingsScope::CurrentUser, kSection, nullptr, "UsedColumnCount",
                      static_cast<int>(columns.size()));
    int i = 0;
    for (const auto& [c, w] : columns) {
        s.WriteSettingInt(SettingsScope::CurrentUser, kSection, nullptr, ("Column" + std::to_string(i)).c_str(), c);
        s.WriteSettingInt(SettingsScope::CurrentUser, kSection, nullptr, ("ColumnWidth" + std::to_string(i)).c_str(),
                          w);
        ++i;
    }
}

TEST(ColumnArrangement, FirstStartShowsEveryColumnAtItsInsertedWidth)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    t.SetWidth(2, 0);
    ApplyStoredArrangement(t, kSection);
    EXPECT_EQ(Widths(t), (std::vector<int>{40, 40, 40, 40, 40}));
    EXPECT_EQ(t.DisplayOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(HasStoredArrangement(kSection));
}

TEST(ColumnArrangement, StoredArrangementIsAppliedExactlyEvenWithNoColumns)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    Store(*settings, {});
    ApplyStoredArrangement(t, kSection);
    EXPECT_EQ(Widths(t), (std::vector<int>{0, 0, 0, 0, 0}));

    Store(*settings, {{3, 120}, {0, 0x10000 + 55}, {9, 20}, {3, 99}});
    ApplyStoredArrangement(t, kSection);
    EXPECT_EQ(Widths(t), (std::vector<int>{55, 0, 0, 120, 0}));
    EXPECT_EQ(t.DisplayOrder(), (std::vector<int>{3, 0, 1, 2, 4}));
}

TEST(ColumnArrangement, MissingColumnValuesReadTheirPositionAsDefault)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    settings->WriteSettingInt(SettingsScope::CurrentUser, kSection, nullptr, "UsedColumnCount", 3);
    ApplyStoredArrangement(t, kSection);
    // Column%i defaults to i and ColumnWidth%i to i: column 0 gets width 0, 1 width 1, 2 width 2.
    EXPECT_EQ(Widths(t), (std::vector<int>{0, 1, 2, 0, 0}));
}

TEST(ColumnArrangement, HugeStoredCountDoesNotHang)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    settings->WriteSettingInt(SettingsScope::CurrentUser, kSection, nullptr, "UsedColumnCount", 2000000000);
    ApplyStoredArrangement(t, kSection);
    EXPECT_EQ(t.ColumnCount(), 5);
}

TEST(ColumnArrangement, SaveWritesVisibleColumnsInDisplayOrder)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    t.SetWidth(1, 0);
    t.SetWidth(4, 77);
    t.SetDisplayOrder({4, 1, 0, 2, 3});
    SaveArrangement(t, kSection);
    EXPECT_EQ(settings->Int(kSection, "UsedColumnCount"), 4);
    EXPECT_EQ(settings->Int(kSection, "Column0"), 4);
    EXPECT_EQ(settings->Int(kSection, "ColumnWidth0"), 77);
    EXPECT_EQ(settings->Int(kSection, "Column1"), 0);
    EXPECT_EQ(settings->Int(kSection, "Column3"), 3);

    CReportTable again = FiveColumns();
    ApplyStoredArrangement(again, kSection);
    EXPECT_EQ(Widths(again), Widths(t));
    EXPECT_EQ(again.VisibleColumnsByDisplay(), t.VisibleColumnsByDisplay());
}

TEST(ColumnArrangementDialog, StartsWithVisibleColumnsInDisplayOrderAndEditsThem)
{
    ScopedMemorySettings settings;
    CReportTable t = FiveColumns();
    t.SetWidth(2, 0);
    t.SetDisplayOrder({3, 2, 1, 0, 4});
    CColumnArrangement dialog(t);
    ASSERT_EQ(dialog.Used().size(), 4u);
    EXPECT_EQ(dialog.Used()[0].ColumnIndex(), 3);
    EXPECT_EQ(dialog.Used()[0].Code, 30040);
    ASSERT_EQ(dialog.Available().size(), 1u);
    EXPECT_EQ(dialog.Available()[0].Header, "C2");

    EXPECT_EQ(dialog.MoveToUsed(0), 4);
    EXPECT_EQ(dialog.Used()[4].Width(), 75);
    EXPECT_FALSE(dialog.CanMoveUp(0));
    EXPECT_FALSE(dialog.CanMoveDown(4));
    EXPECT_EQ(dialog.MoveUp(4), 3);
    dialog.SetWidth(3, 200);
    EXPECT_TRUE(dialog.MoveToAvailable(0)); // column 3 back to available
    EXPECT_EQ(dialog.MoveToUsed(7), -1);

    dialog.Apply(t, kSection);
    EXPECT_EQ(t.VisibleColumnsByDisplay(), (std::vector<int>{1, 0, 2, 4}));
    EXPECT_EQ(t.DisplayOrder(), (std::vector<int>{1, 0, 2, 4, 3}));
    EXPECT_EQ(Widths(t), (std::vector<int>{40, 40, 200, 0, 40}));
    EXPECT_EQ(settings->Int(kSection, "UsedColumnCount"), 4);
    EXPECT_EQ(settings->Int(kSection, "Column2"), 2);
    EXPECT_EQ(settings->Int(kSection, "ColumnWidth2"), 200);
}

} // namespace
