// Renders the Peak Match Table page (two ELEY runs) and the Mass Spec Match Report page (an MSP spectral list)
// on the real data files of the shared data folder to PNG files for a reviewer; skipped when they are absent.
// The files go to $CORVELIN_SCREENSHOT_DIR (default: ./screenshots).
#include <QFileInfo>

#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadMassSpecsFile.h"
#include "gui/pages/MassSpecReport.h"
#include "gui/pages/PagePeakMatchTable.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

const std::string kData = "/work/shared/data/";
const std::string kEley1 = kData + "jdx/PyMassSpec/ELEY_1_SUBTRACT.JDX";
const std::string kEley2 = kData + "jdx/PyMassSpec/ELEY_2_SUBTRACT.JDX";
const std::string kMsp = kData + "msp/matchms/MoNA-export-GC-MS-first10.msp";

void Save(QWidget& widget, const QString& name)
{
    widget.show();
    QCoreApplication::processEvents();
    QTest::qWait(50);
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(widget.grab().save(path), qPrintable(path));
}

} // namespace

class ScreenshotsPmtTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!QFileInfo::exists(QString::fromStdString(kEley1)) || !QFileInfo::exists(QString::fromStdString(kEley2)))
            QSKIP("the ELEY runs of the shared data folder are not here");
        m_env = std::make_unique<GuiTestEnvironment>();
        GuiTestEnvironment::AddReader(CORVELIN_JCAMP_READER, "JCAMP-DX GC/MS", ".jdx",
                                      "JCAMP-DX GC/MS Files (*.jdx)|*.jdx");
        QDir().mkpath(ScreenshotFolder());
    }
    void cleanup() { m_env.reset(); }

    void peakMatchTableOfTwoEleyRuns()
    {
        CSearchOptions options;
        options.MSMatching = 1;
        options.RTMatching = 1;
        options.AreaMatching = 1;
        options.RTWindowWidth = 0.1;
        CPagePeakMatchTable page(options);
        page.resize(1300, 720);
        page.ThisPath = kEley1;
        page.OtherPath = kEley2;
        page.RefreshControls();
        page.OnBuild();
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(page.CanExportCsv());
        QVERIFY(page.List()->Table().RowCount() > 10);
        Save(page, QStringLiteral("pmt-peak-match-table.png"));
        page.OnColumnClick(18); // best matches first
        Save(page, QStringLiteral("pmt-peak-match-table-sorted.png"));
    }

    void massSpecReportWithAnMspList()
    {
        if (!QFileInfo::exists(QString::fromStdString(kMsp)) || !m_env->AddMspReader())
            QSKIP("no MSP file or reader");
        CSearchOptions options;
        QVERIFY(AddMassSpecsFromFile(&DatasystemPlugins(), kMsp, options) > 0);
        for (int i = 0; i < options.GetSpectraCount(); i += 2)
            options.SetSpectrumActive(i, true); // every second entry ticked
        CMassSpecReport page(options);
        page.resize(1100, 650);
        page.Path = kEley1;
        page.RefreshControls();
        page.OnReport();
        QVERIFY(page.List()->Table().RowCount() > 10);
        Save(page, QStringLiteral("pmt-mass-spectrum-report.png"));
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsPmtTest)
#include "shot_Pmt.moc"
