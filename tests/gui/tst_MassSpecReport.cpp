// The "Mass Spec Match Report" page: browsing shows the dialog again until a file is read, then the report
// lists every peak against the marked spectra with every column sized to be seen.
#include <QPushButton>
#include <fstream>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/TextFile.h"
#include "engine/views/MassSpecReport.h"
#include "gui/pages/MassSpecReport.h"
#include "gui/print/MassSpecReportPrinter.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class MassSpecReportTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
    }
    void cleanup()
    {
        SetFileChoiceHook({});
        m_env.reset();
    }

    void browseRepeatsUntilAFileIsReadThenReports()
    {
        TempDir dir;
        const std::string good = dir.File("run.ChromLibEntry");
        const std::string bad = dir.File("broken.ChromLibEntry");
        WriteTestEntry(good, 3, 8, "Sample three");
        {
            std::ofstream(bad) << "not an entry";
        }
        std::vector<std::string> offered = {bad, good};
        int dialogs = 0;
        SetFileChoiceHook([&](const CFileChoice&) {
            return CFileChoiceResult{ToQString(offered.at(static_cast<std::size_t>(dialogs++))), 1};
        });
        CSearchOptions options;
        CMassSpecReport page(options);
        QCOMPARE(page.List()->Table().ColumnCount(), 3);
        page.OnBrowse();
        QCOMPARE(dialogs, 2);
        const std::vector<std::string> shown = m_env->Recorder().Texts();
        QVERIFY(!shown.empty());
        QCOMPARE(shown.size(), std::size_t(1));
        QVERIFY(shown.back().rfind("'" + bad + "' could not be read.\n", 0) == 0);
        QCOMPARE(m_env->Recorder().entries.back().caption, std::string("File Read Error"));
        QCOMPARE(page.Path, good);
        QCOMPARE(page.SampleNameText, std::string("Sample three"));
        QVERIFY(!page.DataSystemText.empty());

        page.OnReport();
        QCOMPARE(m_env->Recorder().Texts().back(),
                 std::string("There are no search parameter mass specs to report the matches"));

        CLibraryChromatogram run;
        QVERIFY(run.LoadEntry(good));
        options.AddSpectrum("second peak", run.Peaks[1]->Spectrum, true);
        options.AddSpectrum("unmarked", run.Peaks[2]->Spectrum, false);
        page.OnReport();
        const CReportTable& table = page.List()->Table();
        QCOMPARE(table.ColumnCount(), 2);
        QCOMPARE(table.Header(1), std::string("second peak"));
        QCOMPARE(table.RowCount(), 8);
        QCOMPARE(table.Cell(1, 1), std::string("1.000"));
        QVERIFY(table.Width(0) > 0 && table.Width(1) > 0);
        // A typed path fills the sample name as browsing does (the printout takes it from there).
        page.SampleNameText.clear();
        page.OnReport();
        QCOMPARE(page.SampleNameText, std::string("Sample three"));

        // Like the other views, the report can be exported as CSV and printed (here: to a PDF file).
        QPushButton* csv = nullptr;
        for (QPushButton* button : page.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("CSV-Export"))
                csv = button;
        QVERIFY(csv && csv->isEnabled());
        const std::string saved = dir.File("report.csv");
        CFileChoice asked;
        SetFileChoiceHook([&](const CFileChoice& request) {
            asked = request;
            return CFileChoiceResult{ToQString(saved), 1};
        });
        QTest::mouseClick(csv, Qt::LeftButton);
        QCOMPARE(asked.initialFile, QStringLiteral("run MS Match Report.CSV"));
        QCOMPARE(ReadAllText(saved), TextModeBytes(MassSpecReportCsvText(table)));
        const CPrintPlan plan =
            LayoutMassSpecReport(CPaperMetrics{}, CPageLayoutSettings{}, {good, "Sample three", "entry"}, table,
                                 QStringLiteral("2031-04-05"));
        QStringList headers;
        for (const CPrintItem& item : plan.Items)
            if (item.Bold)
                headers << item.Text;
        QCOMPARE(headers, (QStringList{QStringLiteral("Corvelinscope Mass Spec Match Report"), QStringLiteral("RT"),
                                       QStringLiteral("second peak")}));
        QCOMPARE(plan.Items.back().Text, QStringLiteral("Page 1 of 1"));
        QVERIFY(WriteMassSpecReportPdf(ToQString(dir.File("report.pdf")), {good, "Sample three", "entry"}, table));
        QVERIFY(ReadAllText(dir.File("report.pdf")).rfind("%PDF", 0) == 0);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(MassSpecReportTest)
#include "tst_MassSpecReport.moc"
