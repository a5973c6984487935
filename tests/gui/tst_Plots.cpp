// The chromatogram plot and the match plot as widgets: lines, clicks, drags, links, hover texts with
// thumbnails drawn on demand, golden images, and the repaint time of two 600-peak runs (reported).
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <set>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/views/ChromatogramMatch.h"
#include "engine/views/ChromatogramPlotFrame.h"
#include "gui/plots/MatchControl.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/plots/SpectrumDraw.h"
#include "gui/widgets/HtmlToolTip.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/SyntheticChromatogram.h"

using namespace corvelin;

namespace {

std::unique_ptr<CLibraryChromatogram> Run(int peaks, std::uint64_t seed, const char* path)
{
    CSyntheticShape shape;
    shape.Peaks = peaks;
    shape.Lines = 40;
    shape.FirstRT = 2;
    shape.LastRT = 12;
    auto run = MakeSyntheticChromatogram(shape, seed);
    run->SourcePath = path;
    return run;
}

// Shows a pair in the match plot with its compare, as the Chromatogram Match page hands it over.
void ShowPair(CMatchControl& control, const CLibraryChromatogram& self, const CLibraryChromatogram& other,
              const CSearchOptions& options)
{
    control.SetChromatograms(self, other);
    control.SetMatch(CompareForMatchPlot(*control.Chromatogram(0), *control.Chromatogram(1), options));
}

QPoint Middle(const CLineEnds& ends)
{
    return QPoint(int((ends.X1 + ends.X2) / 2), int((ends.Y1 + ends.Y2) / 2));
}

// Share of pixels that differ by more than 48 in any channel (fonts differ between machines).
double DifferingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            differing += std::abs(p.red() - q.red()) > 48 || std::abs(p.green() - q.green()) > 48 ||
                                 std::abs(p.blue() - q.blue()) > 48
                             ? 1
                             : 0;
        }
    return double(differing) / (a.width() * a.height());
}

void CompareWithGolden(QWidget& widget, const QString& name)
{
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(CORVELIN_GOLDEN_DIR "/") + name;
    if (qEnvironmentVariableIsSet("CORVELIN_UPDATE_GOLDEN"))
        QVERIFY(shown.save(golden));
    QImage expected(golden);
    QVERIFY2(!expected.isNull(), qPrintable(golden));
    expected = expected.convertToFormat(QImage::Format_RGB32);
    const double share = DifferingShare(shown, expected);
    if (share > 0.02)
        shown.save(ScreenshotFolder() + QStringLiteral("/failed-") + name);
    QVERIFY2(share <= 0.02, qPrintable(QStringLiteral("%1: %2 of the pixels differ").arg(name).arg(share)));
}

} // namespace

class PlotsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void matchLinesClicksAndTheSharedMassScale()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(900, 600);
        control.show();
        const auto self = Run(30, 1, "/runs/a");
        const auto other = MakeSyntheticVariant(*self, 2, 0.01, 5);
        other->SourcePath = "/runs/" + std::string(60, 'b');
        ShowPair(control, *self, *MakeSyntheticChromatogram({8, 40, 2, 12, true}, 3), options);
        QCOMPARE(control.Cells().Rows(), std::size_t{30});
        ShowPair(control, *self, *other, options);
        QVERIFY(control.Lines().size() >= 20);
        // The lines leave the lower plot's file name readable: none of their colours inside its text.
        const QImage shown = control.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const CLabelBox name = control.Plot(1).Frame().LegendLines.at(0);
        const double nameWidth =
            QFontMetricsF(control.Plot(1).font()).horizontalAdvance(QString::fromStdString(other->SourcePath));
        QVERIFY(nameWidth > 300);
        std::set<QRgb> lineColours;
        for (const CMatchLinie& l : control.Lines())
            lineColours.insert(PlotColour(l.Colour).rgb());
        int crossed = 0;
        for (int y = int(name.Top); y < int(name.Bottom()); ++y)
            for (int x = int(name.Right() - nameWidth); x < int(name.Right()); ++x)
                crossed += lineColours.count(shown.pixel(control.Plot(1).geometry().topLeft() + QPoint(x, y)));
        QCOMPARE(crossed, 0);
        QCOMPARE(control.Plot(0).objectName(), QStringLiteral("Chromatogram1"));
        QCOMPARE(control.SpectrumPane(1).objectName(), QStringLiteral("Spectrum2"));
        QCOMPARE(control.Plot(0).geometry(), QRect(0, 0, 600, 300));
        QCOMPARE(control.SpectrumPane(1).geometry(), QRect(600, 300, 300, 300));

        // A click on a line selects it and shows both spectra on one mass axis.
        const int k = int(control.Lines().size() / 2);
        const CMatchLinie line = control.Lines()[k];
        control.ClickAt(Middle(control.LineEnds(k)));
        QVERIFY(control.SelectedLine() >= 0);
        const CMatchLinie& chosen = control.Lines()[control.SelectedLine()];
        QCOMPARE(control.SpectrumPane(0).Spectrum(), &chosen.ThisPeak->Spectrum);
        QCOMPARE(control.SpectrumPane(1).Label(), FormatC("%.2f", chosen.OtherPeak->RT));
        Q_UNUSED(line);

        // A click on a peak away from every line shows that spectrum alone and clears the selection.
        const QPoint apex = control.Plot(1).geometry().topLeft() + control.Plot(1).PeakApex(0, 0);
        control.ClickAt(apex + QPoint(0, 3));
        if (control.SelectedLine() < 0)
            QCOMPARE(control.SpectrumPane(1).Spectrum(), &control.Plot(1).Model().Chromatogram(0).Peaks[0]->Spectrum);

        // Hovering a line makes exactly the two thumbnails it shows.
        QCOMPARE(control.ThumbnailCount(), std::size_t{0});
        const std::string text = control.TipText(Middle(control.LineEnds(k)));
        QVERIFY(text.rfind("<h2>Peak Match = ", 0) == 0);
        QCOMPARE(control.ThumbnailCount(), std::size_t{2});
        control.TipText(Middle(control.LineEnds(k)));
        QCOMPARE(control.ThumbnailCount(), std::size_t{2});
        QVERIFY(control.TipText(QPoint(5, 5)).find("<h2>Peak Match") == std::string::npos);
    }

    void dragsAndViewsOfBothPlots()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(900, 600);
        control.show();
        const auto self = Run(20, 4, "/runs/a");
        ShowPair(control, *self, *MakeSyntheticVariant(*self, 5, 0.01, 5), options);
        const CPlotProperties before = control.Plot(0).Model().Properties(0);
        for (const QSize drag : {QSize(15, 15), QSize(15, 25), QSize(25, 15)})
            QVERIFY(!control.DragTo(QPoint(100, 100), QPoint(100, 100) + QPoint(drag.width(), drag.height())));
        QCOMPARE(control.Plot(0).Model().Properties(0).XMax, before.XMax);
        QVERIFY(control.DragTo(QPoint(100, 400), QPoint(300, 450)));
        QCOMPARE(control.Plot(0).Model().Properties(0).XMin, control.Plot(1).Model().Properties(0).XMin);
        QVERIFY(control.Plot(1).Model().Properties(0).XMax < before.XMax);
        control.MoveLeft();
        control.MoveLeft();
        control.MoveLeft();
        QCOMPARE(control.Plot(1).Model().Properties(0).XMin, 0.0);
        control.ShowFullScale();
        QCOMPARE(control.Plot(0).Model().Properties(0).XMax, control.Plot(1).Model().Properties(0).XMax);

        // The same 15 x 25 drag zooms a plot of its own.
        CMultiChromatogramPlot plot;
        plot.resize(400, 300);
        plot.show();
        plot.AddChromatogram(*self);
        QTest::mousePress(&plot, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&plot, QPoint(115, 125));
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(115, 125));
        QVERIFY(plot.Model().Properties(0).XMin != plot.Model().Properties(0).XMax);
    }

    void linksSendOnlyFromTheTwoPanes()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(900, 600);
        const auto self = Run(5, 6, "/runs/a");
        ShowPair(control, *self, *Run(8, 7, "/runs/b"), options);
        QCOMPARE(control.Cells().Rows(), std::size_t{8});
        for (int k = 0; k < int(control.Lines().size()); ++k)
            QVERIFY(control.Lines()[k].ThisIndex < 5);
        const int before = options.GetSpectraCount();
        for (const char* ignored : {"3-Spec-0", "x-Spec-1", "1-Spec-5", "2-Spec-99", "1-Other-0"})
            control.ActivateLink(ignored);
        QCOMPARE(options.GetSpectraCount(), before);
        control.ActivateLink("2-Spec-7");
        QCOMPARE(options.GetSpectraCount(), before + 1);
        std::string name;
        options.GetSpectrum(before, &name);
        QCOMPARE(name, FormatC("%.2f /runs/b", control.Plot(1).Model().Chromatogram(0).Peaks[7]->RT));
    }

    void restingOnALineOpensItsTipAndItsLinksReachTheOptions()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(900, 600);
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        const auto self = Run(20, 12, "/runs/a");
        ShowPair(control, *self, *MakeSyntheticVariant(*self, 13, 0.01, 5), options);
        control.ToolTip().SetDelays(50, 15000);
        const int k = int(control.Lines().size() / 2);
        const QPoint point = Middle(control.LineEnds(k));
        // The mouse rests over the lower plot, a child window: the control's tip still answers.
        QWidget& lower = control.Plot(1);
        const QPoint inLower = lower.mapFrom(&control, point);
        QVERIFY(lower.rect().contains(inLower));
        QTest::mouseMove(&lower, inLower);
        QVERIFY(WaitFor([&] { return control.ToolTip().isVisible(); }, 3000));
        QVERIFY(control.ToolTip().ShownText().rfind("<h2>Peak Match", 0) == 0);

        // The "Send to MS options" link of the lower peak adds its spectrum to the options.
        QPoint link;
        for (int y = 0; y < control.ToolTip().height() && link.isNull(); y += 2)
            for (int x = 0; x < control.ToolTip().width() && link.isNull(); x += 2)
                if (const std::string* message = control.ToolTip().LinkAt({x, y});
                    message && message->rfind("2-Spec-", 0) == 0)
                    link = QPoint(x, y);
        QVERIFY(!link.isNull());
        const int before = options.GetSpectraCount();
        QTest::mouseClick(&control.ToolTip(), Qt::LeftButton, {}, link);
        QCOMPARE(options.GetSpectraCount(), before + 1);
        QVERIFY(!control.ToolTip().isVisible());
    }

    void tipAndMissingData()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(600, 400);
        QCOMPARE(control.TipText(QPoint(10, 10)), std::string("chromatogram data missing"));
        QCOMPARE(control.ToolTip().InitialDelay(), 1500);
        QCOMPARE(control.ToolTip().HideDelay(), 15000);
    }

    void goldenImages()
    {
        CLibraryChromatogram a;
        a.SourcePath = "run A";
        for (int i = 0; i < 6; ++i) {
            auto peak = std::make_unique<CLibraryChromatogramPeakData>();
            peak->RT = 1 + i * 1.5;
            peak->StartRT = peak->RT - 0.2;
            peak->EndRT = peak->RT + 0.3;
            peak->Height = 100 + 150 * (i % 3);
            peak->Area = peak->Height * 10;
            peak->Spectrum.Points().push_back({50.0 + i, 100});
            peak->Spectrum.Points().push_back({80.0 + i, 40});
            a.Peaks.push_back(std::move(peak));
        }
        a.PeakCount = 6;
        CLibraryChromatogram b(a);
        b.SourcePath = "run B";
        for (auto& peak : b.Peaks)
            peak->Height *= 0.5;
        QWidget host;
        host.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        CMultiChromatogramPlot plot(&host);
        plot.resize(360, 220);
        CPlotProperties red{0, 0, 0, 0, 0xff0000, 2, 0};
        plot.AddChromatogram(a);
        plot.AddChromatogram(b, &red);
        CompareWithGolden(plot, QStringLiteral("chromatogram-plot.png"));
        plot.SetView(2, 0, 6, 50);
        CompareWithGolden(plot, QStringLiteral("chromatogram-plot-zoomed.png"));

        CSearchOptions options;
        CMatchControl control(options);
        control.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        control.resize(600, 360);
        const auto self = Run(12, 10, "run A");
        const auto other = MakeSyntheticVariant(*self, 11, 0.01, 5);
        other->SourcePath = "run B";
        ShowPair(control, *self, *other, options);
        QVERIFY(control.Lines().size() > 2);
        control.ClickAt(Middle(control.LineEnds(1)));
        CompareWithGolden(control, QStringLiteral("match-plot.png"));
    }

    void repaintTimeOfTwo600PeakRuns()
    {
        CSearchOptions options;
        CMatchControl control(options);
        control.resize(1200, 800);
        control.show();
        const auto self = Run(600, 8, "/runs/a");
        ShowPair(control, *self, *MakeSyntheticVariant(*self, 9, 0.005, 5), options);
        QPixmap target(control.size());
        control.render(&target);
        QElapsedTimer timer;
        timer.start();
        const int rounds = 20;
        for (int i = 0; i < rounds; ++i)
            control.render(&target);
        qInfo("match plot of two 600-peak runs (%zu lines): %.1f ms per repaint", control.Lines().size(),
              double(timer.nsecsElapsed()) / 1e6 / rounds);
        QVERIFY(!control.Lines().empty());
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(PlotsTest)
#include "tst_Plots.moc"
