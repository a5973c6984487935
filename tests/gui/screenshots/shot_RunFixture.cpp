// Writes the mzML run the manual's and the reviewer's run-plot screenshots are taken on (the shared data folder has
// no mzML run): the three-component mix of the reader tests, written by the tests' own mzML writer, as
// $CORVELIN_SCREENSHOT_DIR/mix.mzML. The pictures are then taken of the real program showing it
// (`corvelinscope <dir>/mix.mzML` under a virtual X server, clicks with xdotool).
#include "tests/gui/GuiTestSupport.h"
#include "tests/readers/common/MzmlWriter.h"

using namespace corvelin;

class ScreenshotsRunFixture : public QObject {
    Q_OBJECT

private slots:
    void writeTheMzmlRun()
    {
        synthetic::RunSpec spec;
        spec.Scans = 1200;
        spec.Components = synthetic::ThreeComponents();
        spec.Components.push_back({400.0, 2.5, 6.0e4, {{73, 100}, {147, 35}, {207, 18}}});
        const std::string path = QString(ScreenshotFolder() + QStringLiteral("/mix.mzML")).toStdString();
        synthetic::WriteMzml(synthetic::MakeScans(spec), path);
        QVERIFY(QFile::exists(QString::fromStdString(path)));
    }
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsRunFixture)
#include "shot_RunFixture.moc"
