// The "Multiple Chromatogram Peak List" page: adding files, "Go" on the worker and while busy, the "min Match:"
// range, refilling after "advanced ...", and the exported CSV against the engine's file.
#include <QLineEdit>
#include <QSignalSpy>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/TextFile.h"
#include "engine/views/MultiSummaryExport.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/widgets/FileDialogs.h"
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
            reported |= e.text == "'" + broken + "' could not be read." && e.caption == "File Read Error";
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

        // A tip for a filled cell, none for the name columns.
        int filled = -1;
        for (int c = 2; c < results.ColumnCount() && filled < 0; ++c)
            if (!results.Cell(0, c).empty())
                filled = c;
        QVERIFY(filled >= 2);
        const std::string tip = page.TipTextAt(0, filled);
        QVERIFY(tip.find("<h2>Peak Information</h2>") == 0);
        QVERIFY(tip.find("cx=300 cy=120>") != std::string::npos);
        QVERIFY(page.TipTextAt(0, 1).empty());

        // The export writes what the engine writes for the table.
        TempDir out;
        const std::string csv = out.File("summary.csv");
        SetFileChoiceHook([&](const CFileChoice&) { return CFileChoiceResult{QString::fromStdString(csv), 1}; });
        page.OnExport();
        QCOMPARE(ReadAllText(csv), TextModeBytes(MultiSummaryCsvText(options, results)));
        QCOMPARE(GetSettingString(SettingsScope::CurrentUser, "Settings", nullptr, "MRUSummaryPath", "x"),
                 out.Path().string());
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
