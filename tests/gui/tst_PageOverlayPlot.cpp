// The "Overlay Plot" page: the list and its colours, the chosen entry in red, Add and Remove, the clipboard copy
// and the hand-off from a library search result.
#include <QClipboard>
#include <QComboBox>
#include <QTabWidget>
#include <filesystem>

#include "engine/options/SearchOptions.h"
#include "engine/views/OverlayRules.h"
#include "engine/core/LibraryChromatogram.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageOverlayPlot.h"
#include "gui/pages/PlotToolBar.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

class PageOverlayPlotTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        m_dir = std::make_unique<TempDir>();
    }
    void cleanup()
    {
        SetFileChoiceHook({});
        m_dir.reset();
        m_env.reset();
    }

    void ninthEntryTakesTheFirstColourAndTheChosenOneIsRed()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        for (int k = 0; k < 9; ++k)
            QVERIFY(page.AddPath(Entry(k)));
        QCOMPARE(page.FileList().count(), 9);
        QCOMPARE(page.ChosenEntry(), 8);
        const CChromatogramPlotModel& model = page.Plot().Model();
        QCOMPARE(model.Properties(8).Colour, kChosenOverlayColour);
        QCOMPARE(model.Properties(8).PenWidth, 2);
        page.Choose(2);
        QCOMPARE(model.Properties(8).Colour, OverlayColour(0)); // the ninth takes black again
        QCOMPARE(model.Properties(8).PenWidth, 1);
        QCOMPARE(model.Properties(1).Colour, std::uint32_t(0x800000));
        QCOMPARE(model.Properties(2).Colour, kChosenOverlayColour);

        // Adding a path already overlaid adds nothing.
        QVERIFY(page.AddPath(Entry(3)));
        QCOMPARE(page.FileList().count(), 9);
        QCOMPARE(page.Plot().Count(), 9);
    }

    void removingTheFirstEntryLeavesNoneChosen()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        for (int k = 0; k < 3; ++k)
            page.AddPath(Entry(k));
        page.FileList().setCurrentIndex(2);
        page.Choose(2);
        page.OnRemove(); // the entry before is chosen
        QCOMPARE(page.ChosenEntry(), 1);
        QCOMPARE(page.Plot().Model().Properties(1).Colour, kChosenOverlayColour);
        page.FileList().setCurrentIndex(0);
        page.Choose(0);
        page.OnRemove();
        QCOMPARE(page.ChosenEntry(), -1);
        QCOMPARE(page.FileList().count(), 1);
        QCOMPARE(page.Plot().Count(), 1);
        QCOMPARE(page.Plot().Model().Properties(0).Colour, OverlayColour(0));
    }

    void recalibratesTheChosenRun()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        page.AddPath(Entry(1));
        page.AddPath(Entry(2));
        page.FileList().setCurrentIndex(0);
        page.Choose(0);
        static QString title;
        static int tabs = 0;
        CSearchOptionsUI::SetExecHook([](CSearchOptionsUI& sheet) {
            title = sheet.windowTitle();
            tabs = sheet.Tabs()->count();
            CLibraryRICalibrationData& table = sheet.Record().RICalibration();
            table.Clear();
            for (const auto& [rt, ri] : {std::pair{0.0, 0.0}, std::pair{100.0, 10000.0}}) {
                auto point = std::make_unique<CLibraryRICalibrationPoint>();
                point->Set("alkane", rt, ri, CLibraryMassSpectrumData());
                table.AddPoint(std::move(point));
            }
            return int(QDialog::Accepted);
        });
        page.Plot().RunCommand(CMultiChromatogramPlot::kRecalibrateRI);
        CSearchOptionsUI::SetExecHook(nullptr);
        QCOMPARE(title, QStringLiteral("Edit RI Calibration"));
        QCOMPARE(tabs, 1);
        const CLibraryChromatogram& chosen = page.Plot().Model().Chromatogram(0);
        QCOMPARE(chosen.RICalibration.GetCount(), std::size_t(2));
        for (const auto& peak : chosen.Peaks)
            QCOMPARE(peak->RI, chosen.RICalibration.ComputeRI(peak->RT));
        QVERIFY(page.Plot().Model().Chromatogram(1).RICalibration.GetCount() != 2);
    }

    void addShowsTheDialogAgainAfterAReadError()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        const std::string broken = (m_dir->Path() / "broken.ChromLibEntry").string();
        WriteAllText(broken, "not an entry");
        std::vector<QString> answers{QString::fromStdString(broken), QString::fromStdString(Entry(1))};
        int dialogs = 0;
        SetFileChoiceHook([&](const CFileChoice&) {
            ++dialogs;
            CFileChoiceResult result;
            if (!answers.empty()) {
                result.path = answers.front();
                answers.erase(answers.begin());
            }
            return result;
        });
        page.OnAdd();
        QCOMPARE(dialogs, 2);
        QCOMPARE(page.FileList().count(), 1);
        QCOMPARE(m_env->Recorder().Texts().size(), std::size_t(1));
        QVERIFY(m_env->Recorder().Texts().back().rfind("'" + broken + "' could not be read.\n", 0) == 0);
        QCOMPARE(m_env->Recorder().entries.back().caption, std::string("File Read Error"));
    }

    // After a zoom, the toolbar's "100% Height" shows 0 ... 100 % of every trace again, as its tip says.
    void hundredPercentHeightUndoesAHeightZoom()
    {
        CSearchOptions options;
        CPageOverlayPlot page(options);
        page.resize(900, 600);
        page.show();
        for (int k = 0; k < 3; ++k)
            QVERIFY(page.AddPath(Entry(20 + 7 * k)));
        CChromatogramPlotModel& model = page.Plot().Model();
        const CPlotRange all = model.OverallBounds();
        model.SetView(all.XMin, 20, all.XMax, 60);
        double low = 0, high = 0;
        QVERIFY(model.HeightAxisPercent(low, high));
        QCOMPARE(high, 60.0);
        QWidget* button = page.ToolBar().widgetForAction(page.ToolBar().FullHeight());
        QVERIFY(button && button->isEnabled());
        QVERIFY(page.ToolBar().FullHeight()->statusTip().contains(QStringLiteral("0 ... 100 %")));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(model.HeightAxisPercent(low, high));
        QCOMPARE(low, 0.0);
        QCOMPARE(high, 100.0);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(model.EffectiveRange(i).YMax, model.LargestHeight(i));
    }

    void internalOverlayAndClipboard()
    {
        const std::string unknown = Entry(12);
        const std::string library = MakeTestLibrary(*m_dir, "lib", 3, 12);
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* search = sheet.LibrarySearchPage();
        search->Session.UnknownPath = unknown;
        search->Session.LibraryFolder = library;
        search->RefreshControls();
        search->OnSearch();
        QVERIFY(WaitFor([search] { return !search->IsRunning(); }));
        search->HitList()->SelectRows({0, 1});
        search->OnInternalOverlay();
        auto* page = dynamic_cast<CPageOverlayPlot*>(sheet.Page(CLibraryManagerSheet::OverlayPlot));
        QVERIFY(page != nullptr);
        QCOMPARE(page->FileList().count(), 2);

        QAction* copy = sheet.MenuAction(QStringLiteral("Copy graphic to clipboard"));
        sheet.UpdateMenuItems();
        QCOMPARE(copy->isEnabled(), sheet.ActivePage() == page);
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::OverlayPlot));
        sheet.UpdateMenuItems();
        QVERIFY(copy->isEnabled());
        QApplication::clipboard()->clear();
        copy->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), page->Plot().size());
    }

private:
    std::string Entry(int seed)
    {
        const std::string path = (m_dir->Path() / ("run" + std::to_string(seed) + ".ChromLibEntry")).string();
        if (!std::filesystem::exists(path))
            WriteTestEntry(path, seed, 12, "run");
        return path;
    }

    std::unique_ptr<GuiTestEnvironment> m_env;
    std::unique_ptr<TempDir> m_dir;
};

CORVELIN_GUI_TEST_MAIN(PageOverlayPlotTest)
#include "tst_PageOverlayPlot.moc"
