// The sortable list control over its report table and the "Column Arrangement" dialog.
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "tests/gui/GuiTestSupport.h"
#include "gui/widgets/QtText.h"
#include "engine/table/ColumnArrangement.h"
#include "gui/widgets/ColumnArrange.h"
#include "gui/widgets/OdorListCtrl.h"

using namespace corvelin;

namespace {

void AddColumns(COdorListCtrl& list)
{
    for (const char* header : {"Name", "Value", "Count", "Hidden"})
        list.Table().InsertColumn(header, 40);
    list.SyncHeader();
}

} // namespace

class ListAndArrangementTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void viewFollowsTheTable()
    {
        COdorListCtrl list;
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        AddColumns(list);
        list.Table().AddRow({"b", "-", "3"});
        list.Table().AddRow({"a", "2.5", "12"});
        list.Table().AddRow({"c", "1.00001", "7"});
        QCOMPARE(list.model()->rowCount(), 3);
        QCOMPARE(list.model()->data(list.model()->index(1, 0)).toString(), QStringLiteral("a"));

        // A numeric column sorts "-" as 0; the header shows the sort column.
        list.Sort({-2, kCompareReal});
        QCOMPARE(list.Table().Cell(0, 0), std::string("a"));
        QCOMPARE(list.Table().Cell(2, 0), std::string("b"));
        QCOMPARE(list.model()->data(list.model()->index(0, 0)).toString(), QStringLiteral("a"));
        QCOMPARE(list.header()->sortIndicatorSection(), 1);
        QCOMPARE(list.header()->sortIndicatorOrder(), Qt::DescendingOrder);

        // The selection travels with its rows through a sort.
        list.SelectRows({2}); // "b"
        list.Sort({1, kCompareText});
        QCOMPARE(list.SelectedRows(), std::vector<int>{1});
        QVERIFY(list.selectionModel()->isRowSelected(1, {}));

        list.Table().DeleteAllRows();
        QCOMPARE(list.model()->rowCount(), 0);
    }

    // A centred or right-aligned column shows its header the same way as its cells.
    void headersAlignLikeTheirCells()
    {
        COdorListCtrl list;
        list.Table().InsertColumn("Left", 40);
        list.Table().InsertColumn("Files", 250, ColumnAlign::Center);
        list.Table().InsertColumn("Area", 40, ColumnAlign::Right);
        list.Table().AddRow({"a", "b", "1"});
        list.SyncHeader();
        for (int c = 0; c < 3; ++c) {
            const QVariant header = list.model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole);
            QVERIFY(header.isValid());
            QCOMPARE(header, list.model()->data(list.model()->index(0, c), Qt::TextAlignmentRole));
        }
        QCOMPARE(list.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignHCenter));
    }

    void widthsOrderAndHiddenColumnsReachTheHeader()
    {
        COdorListCtrl list;
        AddColumns(list);
        list.Table().SetWidth(3, 0);
        list.Table().SetWidth(1, 90);
        list.Table().SetDisplayOrder({2, 0, 1, 3});
        list.SyncHeader();
        QVERIFY(list.header()->isSectionHidden(3));
        QCOMPARE(list.header()->sectionSize(1), 90);
        QCOMPARE(list.header()->logicalIndex(0), 2);

        // A column the user drags goes back into the table's display order.
        list.header()->moveSection(list.header()->visualIndex(1), 0);
        QCOMPARE(list.Table().DisplayOrder().front(), 1);
        list.header()->resizeSection(0, 77);
        QCOMPARE(list.Table().Width(0), 77);
    }

    void redrawSuspensionNests()
    {
        COdorListCtrl list;
        list.SuspendRedraw();
        list.SuspendRedraw();
        QVERIFY(!list.updatesEnabled());
        list.ResumeRedraw();
        QVERIFY(!list.updatesEnabled());
        list.ResumeRedraw();
        QVERIFY(list.updatesEnabled());
        list.ResumeRedraw(); // an unmatched resume changes nothing
        QCOMPARE(list.RedrawDepth(), 0);
    }

    void autoSizeFitsTheWidestCell()
    {
        COdorListCtrl list;
        AddColumns(list);
        list.Table().AddRow({"a rather long file name.ChromLibEntry", "x"});
        list.AutoSizeColumns(-1, false);
        QCOMPARE(list.Table().Width(0), list.TextWidth("a rather long file name.ChromLibEntry") + 3);
        QCOMPARE(list.Table().Width(1), 40); // 40 or less becomes 40
        QCOMPARE(list.header()->sectionSize(0), list.Table().Width(0));
    }

    void arrangementDialogMovesAndStores()
    {
        COdorListCtrl list;
        AddColumns(list);
        list.Table().SetWidth(2, 0);
        CColumnArrange dialog(list.Table(), "TestList");
        QCOMPARE(dialog.UsedList()->count(), 3);
        QCOMPARE(dialog.AvailableList()->count(), 1);
        QCOMPARE(dialog.AvailableList()->item(0)->text(), QStringLiteral("Count"));

        // ">" gives a hidden column width 75 and selects it at the end of the used list.
        dialog.AvailableList()->setCurrentRow(0);
        dialog.OnMoveToUsed();
        QCOMPARE(dialog.UsedList()->count(), 4);
        QCOMPARE(dialog.UsedList()->currentRow(), 3);
        QCOMPARE(dialog.WidthEdit()->text(), QStringLiteral("75"));
        QVERIFY(dialog.UpButton()->isEnabled());
        QVERIFY(!dialog.DownButton()->isEnabled());

        // Up, a new width, "<" for "Value".
        dialog.OnMoveUp();
        QCOMPARE(dialog.UsedList()->item(2)->text(), QStringLiteral("Count"));
        dialog.WidthEdit()->setText(QStringLiteral("120"));
        dialog.OnWidthEdited();
        dialog.UsedList()->setCurrentRow(1);
        QCOMPARE(dialog.UsedList()->item(1)->text(), QStringLiteral("Value"));
        dialog.OnMoveToAvailable();
        dialog.accept();

        // The list shows Name, Count (120), Hidden; Value is hidden; the section holds the arrangement.
        list.SyncHeader();
        QVERIFY(list.header()->isSectionHidden(1));
        QCOMPARE(list.Table().Width(2), 120);
        QCOMPARE(list.Table().VisibleColumnsByDisplay(), (std::vector<int>{0, 2, 3}));
        MemorySettingsStore& settings = m_env->Settings();
        QCOMPARE(settings.GetSettingInt(SettingsScope::CurrentUser, "TestList", nullptr, "UsedColumnCount", -1), 3);
        QCOMPARE(settings.GetSettingInt(SettingsScope::CurrentUser, "TestList", nullptr, "Column1", -1), 2);
        QCOMPARE(settings.GetSettingInt(SettingsScope::CurrentUser, "TestList", nullptr, "ColumnWidth1", -1), 120);

        // Another list applying the stored arrangement looks the same.
        COdorListCtrl other;
        AddColumns(other);
        other.ApplyStoredArrangement("TestList");
        QCOMPARE(other.Table().VisibleColumnsByDisplay(), (std::vector<int>{0, 2, 3}));
        QVERIFY(other.header()->isSectionHidden(1));
    }

    void cancelChangesNothing()
    {
        COdorListCtrl list;
        AddColumns(list);
        CColumnArrange dialog(list.Table(), "TestList");
        dialog.UsedList()->setCurrentRow(0);
        dialog.OnMoveToAvailable();
        dialog.reject();
        QCOMPARE(list.Table().VisibleColumnsByDisplay(), (std::vector<int>{0, 1, 2, 3}));
        QCOMPARE(
            m_env->Settings().GetSettingInt(SettingsScope::CurrentUser, "TestList", nullptr, "UsedColumnCount", -1),
            -1);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ListAndArrangementTest)
#include "tst_ListAndArrangement.moc"
