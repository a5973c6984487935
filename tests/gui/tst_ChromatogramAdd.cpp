// The "Add Chromatogram" page: "just display", conversion, the minimum area switch and its range; the run plot
// with its peak marks, the peak-detection settings and the peak plot of a module without scans.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "gui/options/PeakDetectionDialog.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/plots/RunPlot.h"
#include "gui/plots/SpectrumDraw.h"
#include "tests/readers/common/JcampWriter.h"

#include "tests/gui/GuiTestSupport.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "engine/options/SearchOptions.h"

using namespace corvelin;

#ifdef CORVELIN_JCAMP_MODULE
namespace {

// A JCAMP-DX run of three components.
std::string ThreeComponentRun()
{
    synthetic::RunSpec spec;
    spec.Components = synthetic::ThreeComponents();
    return synthetic::WriteJcamp(synthetic::MakeScans(spec), synthetic::Dialect::PagesAndRetentionTime);
}

} // namespace
#endif

class ChromatogramAddTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
    }
    void cleanup() { m_env.reset(); }

    void justDisplayShowsTheTreeWithoutConverting()
    {
        TempDir dir;
        const std::string file = dir.File("run1.ChromLibEntry");
        WriteTestEntry(file, 5, 3, "Run 1");
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = file;
        page.RefreshControls();
        page.OnJustDisplay();
        const std::vector<std::string> lines = page.TreeLines();
        QVERIFY(lines.size() > 4);
        QVERIFY(lines[0].rfind("Reading file ", 0) == 0);
        QVERIFY(lines[1].rfind(" Number of Peaks:  3, total abs. Area: ", 0) == 0);
        QVERIFY(lines[2].rfind("   Peak  0: RT ", 0) == 0); // two levels down, one leading blank of its own
        // An entry of this program's own data system is never recalibrated.
        for (const std::string& line : lines)
            QVERIFY(line.find("No RI data") == std::string::npos);
        QVERIFY(page.InfoTree()->topLevelItem(0)->isExpanded());
        QVERIFY(!std::filesystem::exists(file + ".ChromLibEntry"));
    }

    void displayAndConvertWritesTheEntry()
    {
        TempDir dir;
        const std::string file = dir.File("run2.ChromLibEntry");
        WriteTestEntry(file, 6, 4, "Run 2");
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = file;
        page.RefreshControls();
        page.OnDisplayAndConvert();
        QVERIFY(std::filesystem::exists(file + ".ChromLibEntry"));
        QCOMPARE(page.TreeLines().back(), "The chromatogramm '" + file + "' was converted successfully");
    }

    void minimumAreaRangeAndSwitch()
    {
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        auto* box = page.findChild<QCheckBox*>();
        QCOMPARE(box->text(), QStringLiteral("Minimum  peak area %"));
        QLineEdit* value = nullptr;
        for (QLineEdit* edit : page.findChildren<QLineEdit*>())
            if (edit->text() == QStringLiteral("0.5"))
                value = edit;
        QVERIFY(value);
        box->click();
        QVERIFY(value->isEnabled());
        box->click();
        QVERIFY(!value->isEnabled());
        value->setText(QStringLiteral("150"));
        QVERIFY(!page.StoreControls());
        QCOMPARE(m_env->Recorder().Texts(), (std::vector<std::string>{"Please enter a number between 0 and 100."}));
    }

    void unreadableFileGivesTheTreeLine()
    {
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = "/nonexistent/run9.ChromLibEntry";
        page.RefreshControls();
        page.OnJustDisplay();
        QCOMPARE(page.TreeLines().front(),
                 std::string("The chromatogramm '/nonexistent/run9.ChromLibEntry' could not be read"));
    }

    // A damaged run gives one message: the unreadable-file text with the reader's own reason on a line of its
    // own. "Convert all chromatograms in folder" stops at it, with that reason in the conversion's tree.
    void aDamagedRunGivesOneMessageWithTheReadersReason()
    {
#ifdef CORVELIN_JCAMP_MODULE
        QVERIFY(m_env->AddRegisteredReader(CORVELIN_JCAMP_MODULE, "JCAMP-DX GC/MS", ".jdx", "JCAMP-GCMS"));
        TempDir dir;
        const std::string run = ThreeComponentRun();
        const std::string damaged = dir.File("a.jdx");
        WriteAllText(damaged, run.substr(0, run.find(',', run.size() / 2) + 1)); // cut inside a mass list
        WriteAllText(dir.File("b.jdx"), run);
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.show();
        page.DataFile = damaged;
        page.ConvertAll = 1;
        page.RefreshControls();
        // "just display", then "Display & Convert": one message each.
        for (const QString& command : {QStringLiteral("just display"), QStringLiteral("Display && Convert")}) {
            m_env->Recorder().entries.clear();
            QPushButton* button = nullptr;
            for (QPushButton* candidate : page.findChildren<QPushButton*>())
                if (candidate->text() == command)
                    button = candidate;
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(WaitFor([&] { return !page.IsReadingRun(); }));
            QCoreApplication::processEvents();
            const std::vector<std::string> said = m_env->Recorder().Texts();
            QCOMPARE(said.size(), std::size_t(1));
            const std::string head = "The chromatogramm '" + damaged + "' could not be read\n";
            QVERIFY2(said[0].rfind(head, 0) == 0 && said[0].size() > head.size(), said[0].c_str());
            const std::string reason = said[0].substr(head.size());
            QVERIFY(reason.find('\n') == std::string::npos);
            bool reasonInTree = false;
            for (const std::string& line : page.TreeLines()) {
                QVERIFY2(line.find("ReadFromPlugin error") == std::string::npos, line.c_str());
                reasonInTree |= line.find(reason) != std::string::npos;
            }
            QCOMPARE(reasonInTree, command != QStringLiteral("just display")); // the conversion's log names it
        }
        QVERIFY(!std::filesystem::exists(dir.File("b.jdx.ChromLibEntry"))); // stopped at the first failure
#else
        QSKIP("the JCAMP-DX reader module was not built");
#endif
    }

    // A raw run: the TIC with the peaks a conversion writes; a click on a peak shows its spectrum and its row.
    // The settings dialog's "Detect again" changes the marks, the tree and the next conversion.
    void runPlotMarksTheConvertedPeaksAndDetectsAgain()
    {
#ifdef CORVELIN_JCAMP_MODULE
        QVERIFY(m_env->AddRegisteredReader(CORVELIN_JCAMP_MODULE, "JCAMP-DX GC/MS", ".jdx", "JCAMP-GCMS"));
        TempDir dir;
        const std::string file = dir.File("mix.jdx");
        WriteAllText(file, ThreeComponentRun());
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.resize(900, 700);
        page.show();
        page.DataFile = file;
        page.RefreshControls();
        page.OnJustDisplay();
        QVERIFY(WaitFor([&] { return !page.IsReadingRun(); }));
        QCOMPARE(page.Plots()->currentWidget(), static_cast<QWidget*>(page.RunPlot()));
        const CRunPlotModel& model = page.RunPlot()->Model();
        QCOMPARE(model.Peaks().size(), std::size_t(3));
        page.OnDisplayAndConvert();
        QVERIFY(WaitFor([&] { return !page.IsReadingRun(); }));
        CLibraryChromatogram converted;
        converted.ReadEntry(file + ".ChromLibEntry");
        QCOMPARE(converted.PeakCount, 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(model.Peaks()[static_cast<std::size_t>(i)].RT, converted.GetPeak(i)->RT);
        page.OnJustDisplay();
        QVERIFY(WaitFor([&] { return !page.IsReadingRun() && !model.IsEmpty(); }));

        QTest::mouseClick(page.RunPlot(), Qt::LeftButton, {}, page.RunPlot()->PeakApex(1));
        QCOMPARE(page.RunPlot()->SelectedPeak(), 1);
        QVERIFY(page.SpectrumPlot()->Spectrum());
        QCOMPARE(page.SpectrumPlot()->Spectrum()->GetCount(), converted.GetPeak(1)->Spectrum.GetCount());
        QVERIFY(page.InfoTree()->currentItem());
        QVERIFY(page.InfoTree()->currentItem()->text(0).startsWith(QStringLiteral(" Peak  1: RT ")));

        page.IonMassesField()->setText(QStringLiteral("43 91"));
        QTest::keyClick(page.IonMassesField(), Qt::Key_Return);
        QCOMPARE(model.IonTraces().size(), std::size_t(2));

        bool dialogSeen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CPeakDetectionDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialogSeen = true;
            dialog->Field(4)->setValue(2); // peak limit
            dialog->DetectAgainButton()->click();
            dialog->reject();
        });
        QTest::mouseClick(page.PeakDetectionButton(), Qt::LeftButton);
        QVERIFY(dialogSeen);
        QCOMPARE(model.Peaks().size(), std::size_t(2));
        int treePeaks = 0;
        for (const std::string& line : page.TreeLines())
            treePeaks += line.rfind("   Peak ", 0) == 0 ? 1 : 0;
        QCOMPARE(treePeaks, 2);
        page.OnDisplayAndConvert();
        converted.ReadEntry(file + ".ChromLibEntry");
        QCOMPARE(converted.PeakCount, 2);
#else
        QSKIP("the JCAMP-DX reader module was not built");
#endif
    }

    // A module that hands over no scans (a peak list, or a raw-data module without the export) reads as before
    // and is shown as the peak plot.
    void moduleWithoutScansShowsThePeakPlot()
    {
#ifdef CORVELIN_FAKE_MODULE
        QVERIFY(m_env->AddRegisteredReader(CORVELIN_FAKE_MODULE, "Fake GC-MS", ".raw", "FakeRaw"));
        TempDir dir;
        const std::string file = dir.File("run.raw");
        WriteTestEntry(file, 3, 4, "Fake run");
        CSearchOptions options;
        CPageChromatogramAdd page(options);
        page.DataFile = file;
        page.RefreshControls();
        page.OnJustDisplay();
        QVERIFY(WaitFor([&] { return !page.IsReadingRun(); }));
        QCOMPARE(page.Plots()->currentWidget(), static_cast<QWidget*>(page.PeakPlot()));
        QCOMPARE(page.PeakPlot()->Count(), 1);
        QCOMPARE(page.PeakPlot()->Model().Chromatogram(0).PeakCount, 4);
        QVERIFY(!page.PeakDetectionButton()->isEnabled());
#else
        QSKIP("the test data-system module was not built");
#endif
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(ChromatogramAddTest)
#include "tst_ChromatogramAdd.moc"
