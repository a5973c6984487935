// Renders the plots and their pages on real runs to PNG files for a reviewer: the overlay page with three
// ELEY runs, the chromatogram plot alone, the match page of two ELEY runs with a hover text open. Skipped when
// the shared data or the JCAMP-DX reader module is missing. Files go to $CORVELIN_SCREENSHOT_DIR.
#include <QComboBox>
#include <QPainter>
#include <filesystem>

#include "engine/options/SearchOptions.h"
#include "engine/views/ColorSchemeDefaults.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "gui/pages/PageMatch.h"
#include "gui/pages/PageOverlayPlot.h"
#include "gui/plots/MatchControl.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/HtmlToolTip.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

const std::filesystem::path kEley = "/work/shared/data/jdx/PyMassSpec";

std::string Eley(int run)
{
    return (kEley / ("ELEY_" + std::to_string(run) + "_SUBTRACT.JDX")).string();
}

void Save(const QImage& image, const QString& name)
{
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(image.save(path), qPrintable(path));
}

} // namespace

class ScreenshotsPlotsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
#ifdef CORVELIN_JCAMP_READER
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_JCAMP_READER);
        plugin->Name = "JCAMP-DX GC/MS";
        plugin->Extension = ".jdx";
        plugin->Filter = "JCAMP-DX GC/MS Files (*.jdx)|*.jdx";
        plugin->RegisteredPath = CORVELIN_JCAMP_READER;
        DatasystemPlugins().Append(std::move(plugin));
#else
        QSKIP("the JCAMP-DX reader module was not built");
#endif
        if (!std::filesystem::exists(Eley(1)))
            QSKIP("the shared ELEY runs are not present");
    }
    void cleanup()
    {
        m_env.reset();
    }

    void overlayOfThreeRuns()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        page.resize(1100, 600);
        for (int run = 1; run <= 3; ++run)
            QVERIFY(page.AddPath(Eley(run)));
        page.FileList().setCurrentIndex(1);
        page.Choose(1);
        page.show();
        QTest::qWait(50);
        Save(page.grab().toImage(), QStringLiteral("overlay-page-3-eley-runs.png"));
        page.Plot().SetView(10, 0, 16, 40);
        Save(page.Plot().grab().toImage(), QStringLiteral("chromatogram-plot-3-eley-runs-zoomed.png"));
    }

    void matchOfTwoRunsWithATip()
    {
        InstallDefaultColorSchemes(m_env->Settings()); // the colour scale shows the installed "Colors"
        CSearchOptions options;
        CPageMatch page(options);
        page.resize(1200, 700);
        page.show();
        QVERIFY(page.ShowMatch(Eley(1), Eley(2)));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QTest::qWait(50);
        CMatchControl& control = page.MatchPlot();
        QVERIFY(!control.Lines().empty());
        // The hover text of a line in the middle of the run, drawn where the tip window would stand.
        int k = int(control.Lines().size() / 2);
        const CLineEnds ends = control.LineEnds(k);
        const QPoint point(int((ends.X1 + ends.X2) / 2), int((ends.Y1 + ends.Y2) / 2));
        control.ClickAt(point);
        const std::string text = control.TipText(point);
        QVERIFY(text.rfind("<h2>Peak Match", 0) == 0);
        control.ToolTip().ShowText(text, control.mapToGlobal(point + QPoint(12, 16)));
        // Kept inside the page, as the screen edge keeps it on a desktop.
        const QSize tipSize = control.ToolTip().size();
        const QPoint inside(std::min(point.x() + 12, page.width() - tipSize.width() - 4),
                            std::max(0, page.height() - tipSize.height() - 4));
        control.ToolTip().move(page.mapToGlobal(inside));
        QImage shot = page.grab().toImage();
        {
            QPainter painter(&shot);
            painter.drawImage(page.mapFromGlobal(control.ToolTip().pos()), control.ToolTip().grab().toImage());
        }
        Save(shot, QStringLiteral("match-page-eley-1-2-with-tip.png"));
        control.ToolTip().HideTip();
        Save(page.grab().toImage(), QStringLiteral("match-page-eley-1-2.png"));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsPlotsTest)
#include "shot_Plots.moc"
