// The library search driven as a user drives it, through mouse and key events on the real main window: the
// same search three times in a row, then a search stopped with "Stop Search", then one more. Every search but
// the stopped one lists the whole library; the stopped one ends early and leaves the page ready for the next.
#include <QLineEdit>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <thread>

#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "engine/workflow/HitList.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

QPushButton* ButtonNamed(QWidget* page, const QString& text)
{
    for (QPushButton* button : page->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Replaces an edit's text by typing, as a user does: click, select all, type.
void TypeInto(QLineEdit* edit, const std::string& text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, ToQString(text));
}

} // namespace

class RepeatedSearchTest : public QObject {
    Q_OBJECT

private slots:
    void everySearchOfASessionListsTheLibrary()
    {
        GuiTestEnvironment env;
        if (!env.HasEntryReader())
            QSKIP("the library entry reader module was not built");
        TempDir dir;
        std::filesystem::create_directories(dir.Path() / "unknown");
        const std::string unknown = (dir.Path() / "unknown" / "probe.ChromLibEntry").string();
        WriteTestEntry(unknown, 12, 20, "Probe");
        const int count = 120;
        const std::string library = MakeTestLibrary(dir, "lib", count, 30);

        CLibraryManagerSheet sheet;
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        const QList<QLineEdit*> edits = page->findChildren<QLineEdit*>();
        QVERIFY(edits.size() >= 2);
        TypeInto(edits[0], unknown); // the unknown, then the library folder, in the page's order
        TypeInto(edits[1], library);
        QPushButton* search = ButtonNamed(page, QStringLiteral("Search"));
        QPushButton* stop = ButtonNamed(page, QStringLiteral("Stop Search"));
        QVERIFY(search && stop);
        const CReportTable& hits = page->HitList()->Table();

        // A stopped search holds after its first row until it is stopped, so the click lands while it runs.
        std::atomic<bool> holdFirstRow{false};
        std::atomic<bool> held{false};
        page->RowDeliveredHook = [&](const std::atomic<bool>& running) {
            if (!holdFirstRow.load() || held.exchange(true))
                return;
            const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (running.load() && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };

        std::vector<std::string> firstList; // file and forward match of every row of the first search
        struct Step {
            const char* what;
            bool stopped;
        };
        for (const Step step : {Step{"first search", false}, Step{"second search, nothing changed", false},
                                Step{"third search, nothing changed", false}, Step{"search stopped", true},
                                Step{"search after the stop", false}}) {
            holdFirstRow.store(step.stopped);
            held.store(false);
            QVERIFY2(search->isVisible() && search->isEnabled(), step.what);
            QTest::mouseClick(search, Qt::LeftButton);
            if (step.stopped) {
                QVERIFY2(WaitFor([&] { return held.load() && stop->isVisible(); }), step.what);
                QTest::mouseClick(stop, Qt::LeftButton);
            }
            QVERIFY2(WaitFor([&] { return !page->IsRunning(); }), step.what);
            if (step.stopped) {
                QVERIFY2(hits.RowCount() >= 1 && hits.RowCount() < count, step.what);
                continue;
            }
            QCOMPARE(hits.RowCount(), count);
            QCOMPARE(page->SampleNameText, std::string("Probe"));
            QCOMPARE(page->BatchResult, 0);
            if (firstList.empty())
                for (int r = 0; r < hits.RowCount(); ++r)
                    firstList.push_back(hits.Cell(r, 0) + " " + hits.Cell(r, kHitListForwardColumn));
            for (int r = 0; r < hits.RowCount(); ++r)
                QCOMPARE(hits.Cell(r, 0) + " " + hits.Cell(r, kHitListForwardColumn), firstList[r]);
        }
        QCOMPARE(env.Recorder().Texts(), std::vector<std::string>{}); // no message box came up
    }
};

CORVELIN_GUI_TEST_MAIN(RepeatedSearchTest)
#include "tst_RepeatedSearch.moc"
