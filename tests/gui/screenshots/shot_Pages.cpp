// Renders every page of the main window as the user sees it, on real runs of the shared data folder: the window
// at its start size, each page filled through the main window's own hand-offs or the page's commands, nothing
// resized or arranged by this program; and the help window that F1 opens on the library search page. Also writes the
// three printed reports as PDF files (look at them with `pdftoppm -png`). The runs come from $CORVELIN_SCREENSHOT_DATA
// (default /work/shared/data/); the JCAMP-DX runs are converted into library entries in a temporary folder first. The
// files go to $CORVELIN_SCREENSHOT_DIR (default: ./screenshots); docs/manual/images/README.md lists which picture the
// manual takes from which file.
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSignalSpy>
#include <filesystem>

#include "engine/options/ProgramOptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadMassSpecsFile.h"
#include "engine/views/ColorSchemeDefaults.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/MassSpecReport.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageMatch.h"
#include "gui/pages/PageMatrixCompare.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/pages/PagePeakMatchTable.h"
#include "gui/print/LibrarySearchReportPrinter.h"
#include "gui/print/MassSpecReportPrinter.h"
#include "gui/print/MatchMatrixReportPrinter.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

QString DataFolder()
{
    const QString folder = qEnvironmentVariable("CORVELIN_SCREENSHOT_DATA");
    return folder.isEmpty() ? QStringLiteral("/work/shared/data/") : folder + QLatin1Char('/');
}

std::string Run(const char* name)
{
    return ToStdString(DataFolder() + QStringLiteral("jdx/PyMassSpec/") + QString::fromLatin1(name) +
                       QStringLiteral("_SUBTRACT.JDX"));
}

// The window exactly as shown: after the events of the last step have been handled.
void Save(QWidget& window, const QString& name)
{
    QCoreApplication::processEvents();
    QTest::qWait(100);
    const QString path = ScreenshotFolder() + QLatin1Char('/') + name;
    QVERIFY2(window.grab().save(path), qPrintable(path));
}

} // namespace

class ScreenshotsPagesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPageOnRealRuns()
    {
        if (!std::filesystem::exists(Run("ELEY_1")) || !std::filesystem::exists(Run("GECO_1")))
            QSKIP("the ELEY and GECO runs of the shared data folder are not here");
        GuiTestEnvironment env;
        if (!env.HasEntryReader())
            QSKIP("the library entry reader module was not built");
        GuiTestEnvironment::AddReader(CORVELIN_JCAMP_READER, "JCAMP-DX GC/MS", ".jdx",
                                      "JCAMP-DX GC/MS Files (*.jdx)|*.jdx");
        InstallDefaultColorSchemes(env.Settings()); // the colour scales show the installed "Colors"
        for (std::size_t page = 0; page < kOptionalPageCount; ++page)
            WritePageShown(static_cast<OptionalPage>(page), true);
        QDir().mkpath(ScreenshotFolder());
        const QString out = ScreenshotFolder() + QLatin1Char('/');

        TempDir dir;
        const std::string library = dir.File("library");
        const std::string unknowns = dir.File("unknown");
        QVERIFY(QDir().mkpath(ToQString(library)) && QDir().mkpath(ToQString(unknowns)));
        for (const char* name :
             {"ELEY_2", "ELEY_3", "ELEY_4", "ELEY_5", "GECO_1", "GECO_2", "GECO_3", "GECO_4", "GECO_5"})
            QVERIFY2(!ConvertRunCopy(Run(name), library).empty(), name);
        const std::string unknown = ConvertRunCopy(Run("ELEY_1"), unknowns);
        QVERIFY(!unknown.empty());
        const std::string second = library + "/ELEY_2_SUBTRACT.JDX.ChromLibEntry";

        CLibraryManagerSheet sheet;
#ifdef CORVELIN_MANUAL_INDEX
        sheet.SetHelpPath(CORVELIN_MANUAL_INDEX);
#endif
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));

        // Library Search: the unknown against the nine other runs.
        CPageLibrarySearch* search = sheet.LibrarySearchPage();
        search->Session.UnknownPath = unknown;
        search->Session.LibraryFolder = library + "/";
        search->RefreshControls();
        search->OnSearch();
        QVERIFY(WaitFor([search] { return !search->IsRunning(); }));
        QCOMPARE(search->HitList()->Table().RowCount(), 9);
        search->HitList()->SelectRows({0});
        Save(sheet, QStringLiteral("page-library-search.png"));
#ifdef CORVELIN_MANUAL_INDEX
        // F1 on the page: the help window opens at the page's section; both windows side by side.
        QTest::keyClick(&sheet, Qt::Key_F1);
        CHelpWindow* help = sheet.HelpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->Shown().fragment(), QStringLiteral("library-search"));
        QCoreApplication::processEvents();
        QTest::qWait(100);
        const QPixmap main = sheet.grab();
        const QPixmap manual = help->grab();
        QPixmap both(main.width() + manual.width() + 12, std::max(main.height(), manual.height()));
        both.fill(QColor(90, 90, 96));
        {
            QPainter painter(&both);
            painter.drawPixmap(0, 0, main);
            painter.drawPixmap(main.width() + 12, 0, manual);
        }
        QVERIFY(both.save(out + QStringLiteral("help-f1-library-search.png")));
        help->close();
#endif
        QVERIFY(WriteLibrarySearchReportPdf(out + QStringLiteral("report-library-search.pdf"),
                                            {unknown, "ELEY_1", "see the hit list"}, sheet.Options(),
                                            search->HitList()->Table()));

        // Match Matrix, Chromatogram Match and Overlay through the hit list's hand-offs.
        QCOMPARE(sheet.BuildMatchMatrix(unknown, second), PageHandOff::Done);
        auto* matrix = static_cast<CPageMatrixCompare*>(sheet.Page(CLibraryManagerSheet::MatchMatrix));
        QVERIFY(WaitFor([matrix] { return !matrix->IsBusy(); }));
        Save(sheet, QStringLiteral("page-match-matrix.png"));
        QVERIFY(WriteMatchMatrixReportPdf(out + QStringLiteral("report-match-matrix.pdf"),
                                          QStringLiteral("Corvelinscope Match Matrix"), matrix->ReportTexts(),
                                          sheet.Options(), *matrix->Display()));
        QCOMPARE(sheet.ShowChromatogramMatch(unknown, second), PageHandOff::Done);
        auto* match = static_cast<CPageMatch*>(sheet.Page(CLibraryManagerSheet::ChromatogramMatch));
        QVERIFY(WaitFor([match] { return !match->IsBusy(); }));
        Save(sheet, QStringLiteral("page-chromatogram-match.png"));
        QCOMPARE(sheet.AddToOverlay({Run("ELEY_1"), Run("ELEY_2"), Run("GECO_1")}), PageHandOff::Done);
        Save(sheet, QStringLiteral("page-overlay-plot.png"));

        // Peak Match Table of the same pair.
        auto* table = static_cast<CPagePeakMatchTable*>(sheet.Page(CLibraryManagerSheet::PeakMatchTable));
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::PeakMatchTable));
        table->ThisPath = Run("ELEY_1");
        table->OtherPath = Run("ELEY_2");
        table->RefreshControls();
        table->OnBuild();
        QVERIFY(WaitFor([table] { return !table->IsBusy(); }));
        Save(sheet, QStringLiteral("page-peak-match-table.png"));

        // Mass Spec Match Report against MSP reference spectra, every second one ticked.
        const std::string msp = ToStdString(DataFolder() + QStringLiteral("msp/matchms/MoNA-export-GC-MS-first10.msp"));
        if (std::filesystem::exists(msp) && env.AddMspReader() &&
            AddMassSpecsFromFile(&DatasystemPlugins(), msp, sheet.Options()) > 0) {
            for (int i = 0; i < sheet.Options().GetSpectraCount(); i += 2)
                sheet.Options().SetSpectrumActive(i, true);
            auto* report = static_cast<CMassSpecReport*>(sheet.Page(CLibraryManagerSheet::MassSpecReport));
            QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::MassSpecReport));
            report->Path = Run("ELEY_1");
            report->RefreshControls();
            report->OnReport();
            Save(sheet, QStringLiteral("page-mass-spec-match-report.png"));
            QVERIFY(WriteMassSpecReportPdf(out + QStringLiteral("report-mass-spec-match.pdf"),
                                           {report->Path, "ELEY_1", "JCAMP-DX GC/MS"}, report->List()->Table()));
        }

        // Add Chromatogram: "just display" of a real ANDI/AIA run (a copy: nothing is written beside the original).
        const QString andi = DataFolder() + QStringLiteral("andi/netcdf-gcms/agilent-gcms.cdf");
        if (QFileInfo::exists(andi) && env.AddAndiReader()) {
            const std::string copy = dir.File("agilent-gcms.cdf");
            QVERIFY(QFile::copy(andi, ToQString(copy)));
            QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::ChromatogramAdd));
            CPageChromatogramAdd* add = sheet.ChromatogramAddPage();
            add->DataFile = copy;
            add->RefreshControls();
            add->OnJustDisplay();
            QVERIFY(WaitFor([&] { return !add->IsReadingRun(); })); // the run plot comes with the scans
            Save(sheet, QStringLiteral("page-add-chromatogram.png"));
        }

#ifdef CORVELIN_ELU_READER
        // Multiple Chromatogram Peak List of the AMDIS runs.
        const std::filesystem::path elu = ToStdString(DataFolder() + QStringLiteral("elu/gcspikelite"));
        if (std::filesystem::is_directory(elu)) {
            auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ELU_READER, true);
            plugin->Name = "AMDIS ELU";
            plugin->Extension = ".ELU";
            DatasystemPlugins().Append(std::move(plugin));
            auto* summary = static_cast<CPageMultiSummary*>(sheet.Page(CLibraryManagerSheet::MultiSummary));
            QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::MultiSummary));
            std::vector<std::string> files;
            for (const auto& e : std::filesystem::directory_iterator(elu))
                if (e.path().extension() == ".ELU")
                    files.push_back(e.path().string());
            std::sort(files.begin(), files.end());
            for (const std::string& f : files)
                QVERIFY(summary->AddFile(f));
            QSignalSpy finished(summary, &CPageMultiSummary::runFinished);
            summary->OnGo();
            QVERIFY(finished.wait(60000));
            Save(sheet, QStringLiteral("page-multiple-chromatogram-peak-list.png"));
        }
#endif
    }
};

CORVELIN_GUI_TEST_MAIN(ScreenshotsPagesTest)
#include "shot_Pages.moc"
