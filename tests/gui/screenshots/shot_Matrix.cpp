// Renders the match matrix to PNG files for a reviewer: the matrix display with its colour scale for two
// AMDIS-deconvolved runs, the Match Matrix page for two JCAMP-DX runs, and the printed report's first page. The
// runs come from the folder $CORVELIN_SCREENSHOT_DATA (with elu/gcspikelite and jdx/PyMassSpec); the shots are
// skipped without it. Also reports (does not assert) the time to draw a 600 x 600 peak matrix.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSplitter>
#include <algorithm>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/views/ColorSchemeDefaults.h"
#include "engine/views/MatchMatrix.h"
#include "gui/pages/PageMatrixCompare.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatrixDisplay.h"
#include "gui/print/MatchMatrixReportPrinter.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/SyntheticChromatogram.h"

using namespace corvelin;

namespace {

QString DataFolder()
{
    const QString folder = qEnvironmentVariable("CORVELIN_SCREENSHOT_DATA");
    return folder.isEmpty() ? QStringLiteral("/work/shared/data") : folder;
}

// Adds a bundled reader module from the build's plug-in folder; false when it is not there.
bool AddReader(const char* file, const char* name, const char* extension)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/corvelinscope/plugins/") +
                         QString::fromLatin1(file);
    if (!QFileInfo::exists(path))
        return false;
    auto plugin = std::make_unique<CDatasystemPlugin>(ToStdString(QFileInfo(path).canonicalFilePath()));
    plugin->Name = name;
    plugin->Extension = extension;
    const bool loaded = plugin->HasModule();
    DatasystemPlugins().Append(std::move(plugin));
    return loaded;
}

void Save(QWidget& widget, const QString& name)
{
    widget.show();
    QCoreApplication::processEvents();
    QTest::qWait(50);
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(widget.grab().save(path), qPrintable(path));
}

} // namespace

class ScreenshotsMatrixTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        InstallDefaultColorSchemes(m_env->Settings());
        QDir().mkpath(ScreenshotFolder());
    }
    void cleanup() { m_env.reset(); }

    void matrixOfTwoEluRuns()
    {
        const QString a = DataFolder() + QStringLiteral("/elu/gcspikelite/0709_468.ELU");
        const QString b = DataFolder() + QStringLiteral("/elu/gcspikelite/0709_471.ELU");
        if (!QFileInfo::exists(a) || !QFileInfo::exists(b))
            QSKIP("no ELU runs in $CORVELIN_SCREENSHOT_DATA");
        if (!AddReader("corvelin-reader-amdis-elu.so", "AMDIS Deconvolution (ELU)", ".elu"))
            QSKIP("the ELU reader was not built");
        CSearchOptions options;
        CPageMatrixCompare page(options);
        page.resize(1200, 760);
        page.SetPathsAndBuild(ToStdString(a), ToStdString(b));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(page.HasMatrix());
        qInfo("ELU runs: %d x %d peaks, forward %.3f, reverse %.3f, %d tools", page.Matrix().ThisCount(),
              page.Matrix().OtherCount(), page.Matrix().Forward.Overall, page.Matrix().Reverse.Overall,
              page.Display()->ToolCount());
        Save(page, QStringLiteral("matrix-page-elu.png"));
        QWidget* right = page.Display()->parentWidget();
        Save(*right, QStringLiteral("matrix-display-elu.png"));
        // A pair's hover tip as the user sees it.
        CMatrixDisplay* display = page.Display();
        for (int x = display->width() / 3; x < display->width(); ++x) {
            const QPoint at(x, x * display->height() / display->width());
            const QString text = display->ToolTextAt(at);
            if (text.startsWith(QStringLiteral("<h2>Peak Match"))) {
                display->Tip()->ShowText(ToStdString(text), display->mapToGlobal(at));
                QCoreApplication::processEvents();
                QTest::qWait(50);
                QVERIFY(display->Tip()->grab().save(ScreenshotFolder() + QStringLiteral("/matrix-tip-elu.png")));
                display->Tip()->HideTip();
                break;
            }
        }

        // The printed report's pages as pictures (0.1 mm = 0.5 pixel).
        const CPageLayoutSettings layout = CPageLayoutSettings::Load();
        const CMatrixPrintPlan plan = LayoutMatchMatrixReport(CPaperMetrics{}, layout, page.ReportTexts(), options);
        for (int p = 0; p < plan.PageCount; ++p) {
            QImage image(1050, 1485, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.scale(0.5, 0.5);
            DrawMatchMatrixPage(painter, plan, p, layout, *page.Display());
            painter.end();
            QVERIFY(image.save(ScreenshotFolder() + QStringLiteral("/matrix-report-page-%1.png").arg(p + 1)));
        }
    }

    void pageWithTwoEleyRuns()
    {
        const QString a = DataFolder() + QStringLiteral("/jdx/PyMassSpec/ELEY_1_SUBTRACT.JDX");
        const QString b = DataFolder() + QStringLiteral("/jdx/PyMassSpec/ELEY_2_SUBTRACT.JDX");
        if (!QFileInfo::exists(a) || !QFileInfo::exists(b))
            QSKIP("no ELEY runs in $CORVELIN_SCREENSHOT_DATA");
        if (!AddReader("corvelin-reader-jcamp.so", "JCAMP-DX GC/MS", ".jdx"))
            QSKIP("the JCAMP-DX reader was not built");
        CSearchOptions options;
        CPageMatrixCompare page(options);
        page.resize(1200, 760);
        page.SetPathsAndBuild(ToStdString(a), ToStdString(b));
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(page.HasMatrix());
        qInfo("ELEY runs: %d x %d peaks, forward %.3f, reverse %.3f", page.Matrix().ThisCount(),
              page.Matrix().OtherCount(), page.Matrix().Forward.Overall, page.Matrix().Reverse.Overall);
        Save(page, QStringLiteral("matrix-page-eley.png"));
    }

    // A 600 x 600 matrix of two similar synthetic runs, drawn as the widget paints it: the time is reported.
    void repaintTimeOf600By600()
    {
        CSyntheticShape shape;
        shape.Peaks = 600;
        shape.Lines = 60;
        const auto first = MakeSyntheticChromatogram(shape, 7);
        const auto second = MakeSyntheticVariant(*first, 8, 0.02, 5);
        CMatchMatrix matrix;
        matrix.This.CopyFrom(*first);
        matrix.Other.CopyFrom(*second);
        CSearchOptions options;
        CompareMatchMatrix(matrix, options);
        CMatrixDisplay display;
        display.resize(800, 800);
        display.SetData(&matrix.Cells, matrix.ThisCount(), matrix.OtherCount(), &matrix.This, &matrix.Other);
        QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
        std::vector<qint64> times;
        for (int run = 0; run < 7; ++run) {
            QElapsedTimer timer;
            timer.start();
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            display.Draw(painter, image.rect(), false);
            painter.end();
            times.push_back(timer.nsecsElapsed());
        }
        std::sort(times.begin(), times.end());
        qInfo("600 x 600 matrix display: %d tools, repaint median %.2f ms (best %.2f ms)", display.ToolCount(),
              times[3] / 1e6, times[0] / 1e6);
        QVERIFY(image.save(ScreenshotFolder() + QStringLiteral("/matrix-display-600.png")));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsMatrixTest)
#include "shot_Matrix.moc"
