// The spectrum plot's drawing routine: mass ticks, stick labels, the empty-spectrum text.
#include <QImage>
#include <QPainter>

#include "tests/gui/GuiTestSupport.h"
#include "engine/core/LibraryMassSpectrum.h"
#include "gui/plots/SpectrumDraw.h"

using namespace corvelin;

namespace {

CLibraryMassSpectrumData Spectrum(std::initializer_list<std::pair<double, double>> lines)
{
    CLibraryMassSpectrumData spectrum;
    for (const auto& [mass, intensity] : lines)
        spectrum.Append(CLibraryMassSpectrumPoint(mass, intensity));
    return spectrum;
}

using Lines = std::vector<std::pair<double, double>>;

CSpectrumDraw::DrawnTexts DrawOnImage(const CLibraryMassSpectrumData* spectrum, const std::string& label = {},
                                      const QString& save = {})
{
    QImage image(400, 220, QImage::Format_RGB32);
    QPainter painter(&image);
    const auto drawn = CSpectrumDraw::Draw(painter, spectrum, 0, 0, label, image.rect());
    painter.end();
    if (!save.isEmpty() && ScreenshotsWanted())
        image.save(ScreenshotFolder() + QLatin1Char('/') + save);
    return drawn;
}

} // namespace

class SpectrumDrawTest : public QObject {
    Q_OBJECT

private slots:
    void massTicks_data()
    {
        QTest::addColumn<double>("largest");
        QTest::addColumn<std::vector<int>>("ticks");
        QTest::newRow("250") << 250.0 << std::vector<int>{50, 100, 150, 200};
        QTest::newRow("350") << 350.0 << std::vector<int>{100, 200, 300};
        QTest::newRow("100") << 100.0 << std::vector<int>{25, 50, 75}; // halves while the quotient is 2 or less
        QTest::newRow("1") << 1.0 << std::vector<int>{};
    }
    void massTicks()
    {
        QFETCH(double, largest);
        QFETCH(std::vector<int>, ticks);
        QCOMPARE(CSpectrumDraw::MassTicks(largest), ticks);
    }

    void drawnTicksFollowTheLargestMass()
    {
        const CLibraryMassSpectrumData spectrum = Spectrum({{41, 20}, {57, 100}, {250, 10}});
        const auto drawn = DrawOnImage(&spectrum);
        QCOMPARE(drawn.Ticks, (std::vector<std::string>{"50", "100", "150", "200"}));
        QVERIFY(!drawn.NoPeaks);
    }

    void fiveMostIntenseSticksAreLabelled()
    {
        const CLibraryMassSpectrumData spectrum =
            Spectrum({{41, 30}, {43, 90}, {55, 20}, {57, 100}, {69, 40}, {71, 50}, {85, 45}, {99, 5}});
        const auto drawn = DrawOnImage(&spectrum, "12.34", QStringLiteral("spectrum-plot.png"));
        // In point order; 41 (30), 55 (20) and 99 (5) are below the fifth-largest intensity (40). 69 stands 8
        // pixels beside 71, but its label sits lower, clear of 71's.
        QCOMPARE(drawn.StickLabels, (std::vector<std::string>{"43", "57", "69", "71", "85"}));
    }

    // Mass labels never overlap each other and never leave the picture (a stick at either end, crowded sticks).
    void labelsNeitherOverlapNorLeaveThePicture_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<std::vector<std::string>>("labels");
        QTest::newRow("largest mass at the right edge")
            << Lines{{50, 10}, {400, 100}} << std::vector<std::string>{"50", "400"};
        QTest::newRow("smallest mass at the left edge")
            << Lines{{1, 100}, {300, 50}} << std::vector<std::string>{"1", "300"};
        QTest::newRow("neighbours: the stronger wins")
            << Lines{{100, 98}, {101, 100}, {102, 99}, {300, 10}} << std::vector<std::string>{"101", "300"};
    }
    void labelsNeitherOverlapNorLeaveThePicture()
    {
        QFETCH(Lines, lines);
        QFETCH(std::vector<std::string>, labels);
        CLibraryMassSpectrumData spectrum;
        for (const auto& [mass, intensity] : lines)
            spectrum.Append(CLibraryMassSpectrumPoint(mass, intensity));
        const auto drawn = DrawOnImage(&spectrum);
        QCOMPARE(drawn.StickLabels, labels);
        const QRectF picture(0, 0, 400, 220);
        for (std::size_t i = 0; i < drawn.StickLabelBoxes.size(); ++i) {
            QVERIFY2(picture.contains(drawn.StickLabelBoxes[i]), drawn.StickLabels[i].c_str());
            for (std::size_t j = 0; j < i; ++j)
                QVERIFY(!drawn.StickLabelBoxes[i].intersects(drawn.StickLabelBoxes[j]));
        }
    }

    // The top stick's label sits at the caption's height: right beside the caption it is left out, further on
    // it is drawn.
    void aLabelBesideTheCaptionIsLeftOut()
    {
        QImage probe(10, 10, QImage::Format_RGB32);
        QPainter measure(&probe);
        const QFontMetrics metrics = measure.fontMetrics();
        QFont bold = measure.font();
        bold.setBold(true);
        const int captionRight = 10 + QFontMetrics(bold).boundingRect(QStringLiteral("12.34")).width();
        // A largest mass of 390 on a 400-pixel image puts mass m at x = m + 5.
        int beside = 0;
        for (int m = 10; m < 200 && beside == 0; ++m) {
            const int left = m + 5 - metrics.boundingRect(QString::number(m)).width() / 2;
            if (left > captionRight + 1 && left <= captionRight + 3)
                beside = m;
        }
        QVERIFY(beside > 0);
        const CLibraryMassSpectrumData spectrum = Spectrum({{double(beside), 100}, {300, 100}, {390, 1}});
        const auto drawn = DrawOnImage(&spectrum, "12.34");
        QCOMPARE(drawn.StickLabels, (std::vector<std::string>{"300", "390"}));
    }

    void aTieAtTheFifthLabelsEveryTiedStick()
    {
        const CLibraryMassSpectrumData spectrum =
            Spectrum({{41, 100}, {43, 90}, {55, 80}, {57, 70}, {69, 60}, {71, 60}, {85, 10}});
        const auto labelled = CSpectrumDraw::LabelledPoints(spectrum);
        QCOMPARE(labelled, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    }

    void emptySpectrumSaysSo()
    {
        const CLibraryMassSpectrumData empty;
        QVERIFY(DrawOnImage(&empty).NoPeaks);
        QVERIFY(DrawOnImage(nullptr).NoPeaks);
    }
};

CORVELIN_GUI_TEST_MAIN(SpectrumDrawTest)
#include "tst_SpectrumDraw.moc"
