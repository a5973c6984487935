// The "Multiple Chromatogram Peak List" page: adding files, "Go" on the worker and while busy, the "min Match:"
// range, refilling after "advanced ...", and the exported CSV against the engine's file.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/TextFile.h"
#include "engine/views/MultiSummaryExport.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class MultiSummaryTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        for (int i = 0; i < 5; ++i) {
            m_paths.push_back(m_dir.File("run" + std::to_string(i) + ".ChromLibEntry"));
            WriteTestEntry(m_paths.back(), 10 + i, 6, "Run " + std::to_string(i));
        }
    }
    void cleanup()
    {
        SetFileChoiceHook({});
        m_paths.clear();
        m_env.reset();
    }

    // "Add" lists a file once however often it is chosen, stops at a file that cannot be read.
    void addListsAFileOnceAndReportsUnreadableFiles()
    {
        CSearchOptions options;
        CPageMultiSummary page(options);
        const std::string broken = m_dir.File("broken.ChromLibEntry");
        WriteAllText(broken, "no entry");
        SetFileChoiceHook([&](const CFileChoice& request) {
            CFileChoiceResult result;
            if (request.kind != CFileChoice::OpenMultiple)
                return result;
            for (const std::string& p : {m_paths[0], m_paths[1], m_paths[0], broken, m_paths[2]})
                result.paths << QString::fromStdString(p);
            result.path = result.paths.first();
            return result;
        });
        page.OnAdd();
        const CReportTable& files = page.FileList()->Table();
        QCOMPARE(files.RowCount(), 3);
        QCOMPARE(files.Cell(2, 0), m_paths[2]);
        QCOMPARE(files.ItemData(0), std::uintptr_t{6});
        QCoreApplication::processEvents();
        bool reported = false;
        for (const auto& e : m_env->Recorder().entries)
            reported |= e.text.rfind("'" + broken + "' could not be read.\n", 0) == 0 && e.caption == "File Read Error";
        QVERIFY(reported);
    }

    // A second "Go" while the run is busy changes nothing; the rows come in file order, then "fertig.".
    void goWhileBusyIsIgnoredAndRowsComeInFileOrder()
    {
        CSearchOptions options;
        CPageMultiSummary page(options);
        for (const std::string& p : m_paths)
            QVERIFY(page.AddFile(p));
        QSignalSpy finished(&page, &CPageMultiSummary::runFinished);
        page.OnGo();
        QVERIFY(page.IsBusy());
        page.FileList()->Table().DeleteAllRows();
        page.OnGo(); // ignored: no second run, no "no peaks" message
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!page.IsBusy());
        QCOMPARE(page.StatusText(), std::string("fertig."));
        const CReportTable& results = page.Results()->Table();
        QCOMPARE(results.RowCount(), 5);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(results.Cell(r, 0), "run" + std::to_string(r) + ".ChromLibEntry");
        QVERIFY(results.ColumnCount() > 2);
        for (const auto& e : m_env->Recorder().entries)
            QVERIFY(e.text != "The selected chromatograms have no peaks");
        QTRY_COMPARE_WITH_TIMEOUT(page.StatusText(), std::string(), 3000);

        // Resting on a filled cell of the third run shows its peak tip with a 300 x 120 picture; none for the
        // name columns.
        int filled = -1;
        for (int c = 2; c < results.ColumnCount() && filled < 0; ++c)
            if (!results.Cell(2, c).empty())
                filled = c;
        QVERIFY(filled >= 2);
        QVERIFY(page.TipTextAt(2, 1).empty());
        page.resize(900, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        CHtmlToolTip& tip = page.PeakTip();
        QCOMPARE(tip.HideDelay(), 15000);
        tip.SetDelays(50, 15000);
        const QModelIndex cell = page.Results()->model()->index(2, filled);
        page.Results()->scrollTo(cell);
        QTest::mouseMove(page.Results()->viewport(), page.Results()->visualRect(cell).center());
        QVERIFY(WaitFor([&] { return tip.isVisible(); }, 3000));
        const std::string group = std::to_string(filled - 2);
        QVERIFY(tip.ShownText().find("<h2>Peak Information</h2>") == 0);
        QVERIFY(tip.ShownText().find("cx=300 cy=120><br><a msg=\"2-Nist-" + group + "\">") != std::string::npos);
        QCOMPARE(tip.ShownTip().Pictures.size(), std::size_t{1});
        const QImage* picture = tip.Pictures().Find(tip.ShownTip().Pictures[0].Handle);
        QVERIFY(picture != nullptr);
        QCOMPARE(picture->size(), QSize(300, 120));

        // Its "Send to MS options" link adds that peak's spectrum, unticked, to the spectral list under "RT path".
        const auto findLink = [&tip](const std::string& wanted) {
            for (int y = 0; y < tip.height(); y += 2)
                for (int x = 0; x < tip.width(); x += 2)
                    if (const std::string* message = tip.LinkAt({x, y}); message && *message == wanted)
                        return QPoint(x, y);
            return QPoint(-1, -1);
        };
        const QPoint specLink = findLink("2-Spec-" + group);
        QVERIFY(specLink.x() >= 0);
        QTest::mouseClick(&tip, Qt::LeftButton, {}, specLink);
        QCOMPARE(options.GetSpectraCount(), 1);
        std::string name;
        bool ticked = true;
        QVERIFY(options.GetSpectrum(0, &name, &ticked) != nullptr);
        QVERIFY(!ticked); // unticked, as from every other page
        const CLibraryChromatogramPeakData* peak = page.Result().Cell(2, filled - 2);
        QCOMPARE(name, FormatC("%.2f %s", peak->RT, m_paths[2].c_str()));
        // Its "Send to NIST" link, with no NIST MS Search set up, points to the manual's Wine section.
        const QPoint nistLink = findLink("2-Nist-" + group);
        QVERIFY(nistLink.x() >= 0);
        QTest::mouseClick(&tip, Qt::LeftButton, {}, nistLink);
        QVERIFY(WaitFor([&] { return !m_env->Recorder().Texts().empty(); }, 3000));
        QVERIFY(m_env->Recorder().Texts().back().find("\"NIST MS Search through Wine\"") != std::string::npos);
        page.hide();

        // The export writes what the engine writes for the table.
        TempDir out;
        const std::string csv = out.File("summary.csv");
        SetFileChoiceHook([&](const CFileChoice&) { return CFileChoiceResult{QString::fromStdString(csv), 1}; });
        page.OnExport();
        QCOMPARE(ReadAllText(csv), TextModeBytes(MultiSummaryCsvText(options, results)));
        QCOMPARE(GetSettingString(SettingsScope::CurrentUser, "Settings", nullptr, "MRUSummaryPath", "x"),
                 out.Path().string());
    }

    // "Stop" ends a run midway: no further file is read (the files removed after "Add" would each have given a
    // message), the groups of the files read are shown, and the next "Go" runs the whole list.
    void stoppedRunReadsNoFurtherFileAndThePageGoesOn()
    {
        const int inFlight = 2 * QThread::idealThreadCount() + 2; // the most files a run reads ahead
        std::vector<std::string> paths;
        for (int i = 0; i < inFlight + 10; ++i) {
            paths.push_back(m_dir.File("many" + std::to_string(100 + i) + ".ChromLibEntry"));
            WriteTestEntry(paths.back(), 10 + i % 7, 6, "Many " + std::to_string(i));
        }
        CSearchOptions options;
        CPageMultiSummary page(options);
        page.show();
        for (const std::string& p : paths)
            QVERIFY(page.AddFile(p));
        for (std::size_t i = static_cast<std::size_t>(inFlight); i < paths.size(); ++i)
            std::filesystem::rename(paths[i], paths[i] + ".away");
        std::atomic<bool> hold{true};
        std::atomic<bool> held{false};
        page.StatusDeliveredHook = [&](const std::atomic<bool>& running) {
            held.store(hold.load());
            const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
            while (hold.load() && running.load() && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        QPushButton* go = nullptr;
        QPushButton* stop = nullptr;
        for (QPushButton* b : page.findChildren<QPushButton*>()) {
            go = b->text() == QStringLiteral("Go") ? b : go;
            stop = b->text() == QStringLiteral("Stop") ? b : stop;
        }
        QVERIFY(go && stop && !stop->isEnabled());
        QSignalSpy finished(&page, &CPageMultiSummary::runFinished);
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(page.IsBusy() && stop->isEnabled() && !go->isEnabled());
        QVERIFY(WaitFor([&] { return held.load(); }));
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(finished.wait(20000));
        QVERIFY(!page.IsBusy());
        QCOMPARE(m_env->Recorder().Texts(), std::vector<std::string>{});
        const int shown = page.Result().ChromatogramCount();
        QVERIFY(shown >= 1 && shown <= inFlight);
        QCOMPARE(page.StatusText(), FormatC("Stopped after %i of %i files.", shown, static_cast<int>(paths.size())));

        hold.store(false);
        for (std::size_t i = static_cast<std::size_t>(inFlight); i < paths.size(); ++i)
            std::filesystem::rename(paths[i] + ".away", paths[i]);
        QVERIFY(go->isEnabled() && !stop->isEnabled());
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(finished.wait(20000));
        QCOMPARE(page.Result().ChromatogramCount(), static_cast<int>(paths.size()));
        QCOMPARE(page.StatusText(), std::string("fertig."));
        QCOMPARE(m_env->Recorder().Texts(), std::vector<std::string>{});
    }

    void noPeaksAndMinMatchRange()
    {
        CSearchOptions options;
        CPageMultiSummary page(options);
        page.OnGo();
        QCoreApplication::processEvents();
        QVERIFY(!page.IsBusy());
        QCOMPARE(m_env->Recorder().entries.back().text, std::string("The selected chromatograms have no peaks"));
        auto* edit = page.findChildren<QLineEdit*>().first();
        edit->setText(QStringLiteral("1001"));
        QVERIFY(!page.StoreControls());
        edit->setText(QStringLiteral("1000"));
        QVERIFY(page.StoreControls());
        QCOMPARE(options.SummaryMinMatch, 1000);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
    TempDir m_dir;
    std::vector<std::string> m_paths;
};

CORVELIN_GUI_TEST_MAIN(MultiSummaryTest)
#include "tst_MultiSummary.moc"
