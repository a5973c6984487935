// Renders the "Multiple Chromatogram Peak List" page to PNG files for a reviewer: the page after a run over the
// nine AMDIS runs of the shared test data (when the data and the ELU reader are there), and a peak's spectrum
// hover tip with its spectrum picture. The files go to $CORVELIN_SCREENSHOT_DIR (default: ./screenshots).
#include <QDir>
#include <QSignalSpy>
#include <filesystem>

#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class ScreenshotsSummaryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void pageWithTheNineAmdisRuns()
    {
#ifndef CORVELIN_ELU_READER
        QSKIP("the ELU reader module was not built");
#else
        const std::filesystem::path data = "/work/shared/data/elu/gcspikelite";
        if (!std::filesystem::is_directory(data))
            QSKIP("the shared AMDIS runs are not on this machine");
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ELU_READER, true);
        plugin->Name = "AMDIS ELU";
        plugin->Extension = ".ELU";
        DatasystemPlugins().Append(std::move(plugin));
        CSearchOptions options;
        options.RTWindowWidth = 0.05;
        CPageMultiSummary page(options);
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(data))
            if (e.path().extension() == ".ELU")
                files.push_back(e.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& f : files)
            QVERIFY(page.AddFile(f));
        page.FileList()->SyncHeader();
        QSignalSpy finished(&page, &CPageMultiSummary::runFinished);
        page.OnGo();
        QVERIFY(finished.wait(60000));
        page.resize(1200, 760);
        page.show();
        QTest::qWait(50);
        const QString folder = ScreenshotFolder();
        QVERIFY(page.grab().save(folder + QStringLiteral("/summary-page-nine-elu-runs.png")));
        // The hover tip of the first filled cell of the first row, shown over the page.
        const CReportTable& results = page.Results()->Table();
        for (int c = 2; c < results.ColumnCount(); ++c)
            if (!results.Cell(0, c).empty()) {
                const QRect cell = page.Results()->visualRect(page.Results()->model()->index(0, c));
                page.Results()->scrollTo(page.Results()->model()->index(0, c));
                CHtmlToolTip& tip = page.PeakTip();
                tip.ShowText(page.TipTextAtPoint(cell.center()),
                             page.Results()->viewport()->mapToGlobal(cell.center()));
                QVERIFY(tip.isVisible());
                QVERIFY(tip.grab().save(folder + QStringLiteral("/summary-tip.png")));
                const QImage* picture =
                    tip.Pictures().Find(page.PeakPicture(static_cast<int>(results.ItemData(0)), c - 2));
                QVERIFY(picture != nullptr);
                QVERIFY(picture->save(folder + QStringLiteral("/summary-tip-spectrum.png")));
                break;
            }
#endif
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsSummaryTest)
#include "shot_Summary.moc"
