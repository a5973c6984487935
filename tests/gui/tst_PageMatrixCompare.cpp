// The Match Matrix page: building from two files, its messages, dropped files, the menu routing of the main
// window, the colour scale and the matrix display as drawn, and the printed report's page flow.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageMatrixCompare.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatrixDisplay.h"
#include "gui/print/MatchMatrixReportPrinter.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "engine/views/ColorSchemeDefaults.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

constexpr auto kMachine = SettingsScope::LocalMachine;

void DefineSchemes(MemorySettingsStore& store)
{
    store.WriteSettingInt(kMachine, "ColorSchemes", nullptr, "nColorSchemes", 3);
    store.WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme0", "Colors");
    store.WriteSettingString(kMachine, "ColorSchemes", nullptr, "ColorScheme2", "Two");
    store.WriteSettingInt(kMachine, "ColorSchemes", "Colors", "nColors", 5);
    const char* colors[] = {"000000255", "000255000", "255255000", "255128000", "255000000"};
    for (int i = 0; i < 5; ++i)
        store.WriteSettingString(kMachine, "ColorSchemes", "Colors", ("Color" + std::to_string(i)).c_str(), colors[i]);
    store.WriteSettingString(kMachine, "ColorSchemes", "Colors", "NotFoundThis", "000000200");
    store.WriteSettingString(kMachine, "ColorSchemes", "Colors", "NotFoundOther", "200000000");
}

// Share of pixels whose colour differs by more than 64 in a channel; 1 for images of different sizes.
double DifferingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 64 || std::abs(p.green() - q.green()) > 64 ||
                std::abs(p.blue() - q.blue()) > 64)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

} // namespace

class PageMatrixCompareTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void buildFillsTableDisplayAndMenus()
    {
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader was not built");
        TempDir dir;
        const std::string a = dir.File("a.ChromLibEntry");
        const std::string b = dir.File("b.ChromLibEntry");
        WriteTestEntry(a, 10, 12, "A");
        WriteTestEntry(b, 11, 10, "B");

        CLibraryManagerSheet sheet;
        auto* page = static_cast<CPageMatrixCompare*>(sheet.Page(CLibraryManagerSheet::MatchMatrix));
        QVERIFY(sheet.ActivatePage(CLibraryManagerSheet::MatchMatrix));
        sheet.UpdateMenuItems();
        QVERIFY(!sheet.MenuAction(QStringLiteral("Match Matrix ..."))->isEnabled());
        QVERIFY(!sheet.MenuAction(QStringLiteral("Copy graphic to clipboard"))->isEnabled());

        page->SetPathsAndBuild(a, b);
        QVERIFY(WaitFor([page] { return !page->IsBusy(); }));
        QVERIFY(page->HasMatrix());
        QCOMPARE(page->ThisEdit()->text(), ToQString(a));
        const CReportTable& table = page->List()->Table();
        QCOMPARE(table.ColumnCount(), 13);
        QCOMPARE(table.RowCount(), 10);
        QVERIFY(page->DetailsTip().startsWith(QStringLiteral("<h2>Overall Details</h2>")));
        QVERIFY(page->Display()->ToolCount() >= 10);
        sheet.UpdateMenuItems();
        QVERIFY(sheet.MenuAction(QStringLiteral("Match Matrix ..."))->isEnabled());
        QVERIFY(sheet.MenuAction(QStringLiteral("Copy graphic to clipboard"))->isEnabled());

        // A link of the display's hover tip adds the peak's spectrum to the spectral list under "RT path".
        const int spectra = sheet.Options().GetSpectraCount();
        emit page->Display()->Tip()->LinkActivated(QStringLiteral("2-Spec-0"));
        QCOMPARE(sheet.Options().GetSpectraCount(), spectra + 1);
        std::string name;
        sheet.Options().GetSpectrum(spectra, &name);
        QVERIFY(QString::fromStdString(name).endsWith(QStringLiteral(" ") + ToQString(b)));
        emit page->Display()->Tip()->LinkActivated(QStringLiteral("3-Spec-0"));
        QCOMPARE(sheet.Options().GetSpectraCount(), spectra + 1);
        // The pictures of a hover text are in the tip's registry.
        const unsigned long handle = page->Display()->PictureHandle(1, 0);
        QVERIFY(handle != 0);
        QVERIFY(page->Display()->Tip()->Pictures().Find(handle) != nullptr);

        // "Copy graphic to clipboard" of the main window: the display's picture, pixel for pixel.
        QApplication::clipboard()->clear();
        sheet.MenuAction(QStringLiteral("Copy graphic to clipboard"))->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), page->Display()->size());
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 page->Display()->grab().toImage().convertToFormat(QImage::Format_RGB32));

        // A failed build keeps what is shown.
        page->SetPaths(a, dir.File("missing.ChromLibEntry"));
        page->OnBuild();
        QVERIFY(WaitFor([page] { return !page->IsBusy(); }));
        QCOMPARE(page->LastBuildEnd(), MatchMatrixBuildEnd::Unreadable);
        const std::string failure = m_env->Recorder().entries.back().text;
        QVERIFY2(failure.rfind("Error reading file " + dir.File("missing.ChromLibEntry") + "\n", 0) == 0,
                 failure.c_str());
        QCOMPARE(page->List()->Table().RowCount(), 10);
        QVERIFY(page->Display()->Model().HasPeaks());
        page->SetPaths("", b);
        page->OnBuild();
        QVERIFY(WaitFor([page] { return !page->IsBusy(); }));
        QCOMPARE(page->LastBuildEnd(), MatchMatrixBuildEnd::NoPaths);
        QCOMPARE(m_env->Recorder().entries.back().text, std::string("Please choose the files to compare"));
    }

    // "Build unknown/library match matrix" from a search result: the unknown is "this", the hit "other".
    void handOffFromTheLibrarySearch()
    {
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader was not built");
        TempDir dir;
        const std::string library = MakeTestLibrary(dir, "lib", 3, 8);
        const std::string unknown = dir.File("unknown.ChromLibEntry");
        WriteTestEntry(unknown, 1, 8, "U");
        CLibraryManagerSheet sheet;
        sheet.show();
        CPageLibrarySearch* search = sheet.LibrarySearchPage();
        search->Session.UnknownPath = unknown;
        search->Session.LibraryFolder = library;
        search->RefreshControls();
        search->OnSearch();
        QVERIFY(WaitFor([search] { return !search->IsRunning(); }));
        QCOMPARE(search->HitList()->Table().RowCount(), 3);
        search->HitList()->SelectRows({0});
        search->OnBuildMatrix();
        auto* page = static_cast<CPageMatrixCompare*>(sheet.Page(CLibraryManagerSheet::MatchMatrix));
        QCOMPARE(sheet.ActivePage(), static_cast<CMainPage*>(page));
        QVERIFY(WaitFor([page] { return !page->IsBusy(); }));
        QVERIFY(page->HasMatrix());
        QCOMPARE(page->ThisPath, unknown);
        QCOMPARE(page->Matrix().This.SourcePath, unknown);
        QVERIFY(QString::fromStdString(page->OtherPath).startsWith(QString::fromStdString(library)));
        QCOMPARE(page->Matrix().Other.SourcePath, page->OtherPath);
    }

    // A build runs as a job: the button reads "Stop" meanwhile, Stop ends it without a new matrix, a second
    // build supersedes the first, and a page that goes away while building does not wait for ever.
    void buildIsAJobThatStopsAndRestarts()
    {
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader was not built");
        TempDir dir;
        const std::string a = dir.File("a.ChromLibEntry"), b = dir.File("b.ChromLibEntry");
        const std::string c = dir.File("c.ChromLibEntry");
        WriteTestEntry(a, 10, 12, "A");
        WriteTestEntry(b, 11, 10, "B");
        WriteTestEntry(c, 30, 7, "C");
        CSearchOptions options;
        CPageMatrixCompare page(options);
        const QString idle = page.BuildButton()->text();

        page.SetPathsAndBuild(a, b);
        QVERIFY(page.IsBusy());
        QCOMPARE(page.BuildButton()->text(), QStringLiteral("Stop"));
        QThread::msleep(200);        // the build is likely done and its matrix on its way: Stop must still drop it
        page.BuildButton()->click(); // Stop
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QCOMPARE(page.BuildButton()->text(), idle);
        QCOMPARE(page.LastBuildEnd(), MatchMatrixBuildEnd::Stopped);
        QVERIFY(!page.HasMatrix());

        page.SetPathsAndBuild(a, b);
        page.SetPathsAndBuild(a, c); // supersedes the build of a with b
        QVERIFY(WaitFor([&page] { return !page.IsBusy(); }));
        QVERIFY(page.HasMatrix());
        QCOMPARE(page.Matrix().Other.SourcePath, c);
        QCOMPARE(page.List()->Table().RowCount(), 7);
        QVERIFY(m_env->Recorder().entries.empty());

        auto gone = std::make_unique<CPageMatrixCompare>(options);
        gone->SetPathsAndBuild(a, b);
        gone.reset();
    }

    void droppedFiles()
    {
        CSearchOptions options;
        CPageMatrixCompare page(options);
        page.SetPaths("/t", "/o");
        page.OnDropFiles({QStringLiteral("/1"), QStringLiteral("/2"), QStringLiteral("/3")});
        QCOMPARE(page.ThisPath, std::string("/t"));
        QCOMPARE(page.OtherPath, std::string("/o"));
        page.OnDropFiles({QStringLiteral("/1")}); // focus not in the "this" edit
        QCOMPARE(page.OtherPath, std::string("/1"));
        QCOMPARE(page.OtherEdit()->text(), QStringLiteral("/1"));
        page.show();
        QApplication::setActiveWindow(&page);
        if (QTest::qWaitForWindowActive(&page)) {
            page.ThisEdit()->setFocus();
            QVERIFY(page.ThisEdit()->hasFocus());
            page.OnDropFiles({QStringLiteral("/x")}); // focus in the "this" edit
            QCOMPARE(page.ThisPath, std::string("/x"));
            QCOMPARE(page.OtherPath, std::string("/1"));
        }
        page.OnDropFiles({QStringLiteral("/a"), QStringLiteral("/b")});
        QCOMPARE(page.ThisPath, std::string("/a"));
        QCOMPARE(page.OtherPath, std::string("/b"));
    }

    void printWithoutMatrixSaysSo()
    {
        CSearchOptions options;
        CPageMatrixCompare page(options);
        page.OnPrintMatrix();
        QCOMPARE(m_env->Recorder().entries.size(), std::size_t(1));
        QCOMPARE(m_env->Recorder().entries[0].text, std::string("There is no compare matrix to print"));
        QCOMPARE(m_env->Recorder().entries[0].icon, MessageIcon::Information);
    }

    void colorScaleBandsAndMenu()
    {
        QCOMPARE(CColorScale::BandEdges(5, 100, 3), (std::vector<int>{5, 38, 71, 105}));
        QCOMPARE(CColorScale::BandEdges(0, 7, 0), std::vector<int>{});
        DefineSchemes(m_env->Settings());
        QWidget parent;
        auto* scale = new CColorScale(&parent);
        std::unique_ptr<QMenu> menu(scale->CreateSchemeMenu());
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 2); // the empty name of scheme 1 is skipped
        QCOMPARE(actions[0]->data().toInt(), 10000);
        QVERIFY(actions[0]->isChecked());
        QCOMPARE(actions[1]->data().toInt(), 10002);
        QVERIFY(!actions[1]->isChecked());
        QSignalSpy changed(scale, &CColorScale::schemeChanged);
        scale->OnSchemeCommand(actions[1]->data().toInt());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_env->Settings().GetSettingString(SettingsScope::CurrentUser, "ColorSchemes", nullptr, nullptr, ""),
                 std::string("Two"));
    }

    // The display drawn into a picture: colours where the circles are, the background elsewhere.
    void displayDrawsCirclesInSchemeColours()
    {
        DefineSchemes(m_env->Settings());
        CLibraryChromatogram self, other;
        for (double rt : {1.0, 2.0, 3.0}) {
            auto& p = self.AddPeak();
            p.RT = rt;
            p.Area = 100;
            self.TotalArea += 100;
            auto& q = other.AddPeak();
            q.RT = rt + 6;
            q.Area = 100;
            other.TotalArea += 100;
        }
        CCellTable cells(3, 3);
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j)
                cells(i, j) = 0;
        cells(0, 0) = 1.0;    // red (colour 4 of 5)
        cells(1, 1) = 0.3;    // green (colour 1)
        cells(2, 2) = 0.0007; // a tool, no filled circle
        CMatrixDisplay display;
        display.resize(215, 215); // 20 pixels per minute over 0 ... 10
        display.SetData(&cells, 3, 3, &self, &other);
        QImage image(215, 215, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        display.Draw(painter, image.rect(), false);
        painter.end();
        QCOMPARE(image.pixelColor(30, 150), QColor(255, 0, 0)); // (1, 7) min
        QCOMPARE(image.pixelColor(50, 170), QColor(0, 255, 0)); // (2, 8) min
        QCOMPARE(image.pixelColor(70, 190), QColor(Qt::white)); // (3, 9) min: not filled
        QVERIFY(!display.ToolTextAt(QPoint(70, 190)).isEmpty());
        QVERIFY(display.ToolTextAt(QPoint(120, 60)).isEmpty());
        // "Undo Zoom": greyed until a zoom moved a minimum away from 0, then the default entry.
        std::unique_ptr<QMenu> menu(display.CreateContextMenu());
        QVERIFY(!menu->actions().at(0)->isEnabled());
        QVERIFY(!display.ZoomTo(QRect(QPoint(100, 100), QSize(15, 15))));
        QVERIFY(display.ZoomTo(QRect(QPoint(30, 30), QSize(100, 100))));
        menu.reset(display.CreateContextMenu());
        QCOMPARE(menu->defaultAction(), menu->actions().at(0));
        QVERIFY(menu->actions().at(0)->isEnabled());
        menu->actions().at(0)->trigger();
        QVERIFY(!display.Model().CanUndoZoom());
        // No colours in the scheme: assigned pairs in black.
        m_env->Settings().WriteSettingInt(kMachine, "ColorSchemes", "Colors", "nColors", 0);
        image.fill(Qt::white);
        painter.begin(&image);
        display.Draw(painter, image.rect(), false);
        painter.end();
        QCOMPARE(image.pixelColor(30, 150), QColor(Qt::black));
    }

    // The display of a fixed 6 x 6 comparison against its approved picture, with a tolerance for fonts:
    // CORVELIN_UPDATE_GOLDEN=1 writes the picture anew.
    void displayMatchesGoldenImage()
    {
        InstallDefaultColorSchemes(m_env->Settings());
        CLibraryChromatogram self, other;
        const double areas[] = {500, 80, 200, 40, 120, 60};
        for (int k = 0; k < 6; ++k) {
            auto& p = self.AddPeak();
            p.RT = 1.0 + 1.5 * k;
            p.Area = areas[k];
            self.TotalArea += p.Area;
            auto& q = other.AddPeak();
            q.RT = 1.2 + 1.5 * k;
            q.Area = areas[5 - k];
            other.TotalArea += q.Area;
        }
        CCellTable cells(6, 6);
        for (std::size_t i = 0; i < 6; ++i)
            for (std::size_t j = 0; j < 6; ++j)
                cells(i, j) = 0;
        cells(0, 0) = 0.98;
        cells(1, 1) = 0.55;
        cells(2, 3) = 0.21;
        cells(3, 2) = 0.75;
        cells(5, 5) = 0.0007;
        CMatrixDisplay display;
        display.resize(300, 300);
        display.SetData(&cells, 6, 6, &self, &other);
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        display.Draw(painter, image.rect(), false);
        painter.end();
        const QString folder = QFINDTESTDATA("golden");
        QVERIFY2(!folder.isEmpty(), "the folder tests/gui/golden is missing");
        const QString golden = QDir(folder).filePath(QStringLiteral("matrix-display.png"));
        if (qEnvironmentVariableIsSet("CORVELIN_UPDATE_GOLDEN"))
            QVERIFY(image.save(golden));
        QImage expected(golden);
        QVERIFY2(!expected.isNull(), "golden/matrix-display.png is missing");
        expected = expected.convertToFormat(QImage::Format_RGB32);
        const double share = DifferingShare(image, expected);
        QVERIFY2(share < 0.005, qPrintable(QStringLiteral("%1 % of the pixels differ").arg(share * 100)));
    }

    // With less than 60 mm left below the header block the matrix goes to page 2 as a square.
    void printPutsMatrixOnNextPageWhenLittleRoomIsLeft()
    {
        CSearchOptions options;
        CMatrixReportTexts texts{"/data/this.cdf", "This", 12, "/data/other.cdf", "Other", 10};
        CPageLayoutSettings layout;
        const CPaperMetrics a4;
        const CMatrixPrintPlan roomy = LayoutMatchMatrixReport(a4, layout, texts, options);
        QCOMPARE(roomy.PageCount, 1);
        QCOMPARE(roomy.MatrixPage, 0);
        const double textEnd = roomy.MatrixBox.top();
        // Under the matrix its colour legend, above the footer.
        const double footer = ReportFooterHeight(layout);
        const double legend = MatrixLegendHeight(layout);
        QCOMPARE(roomy.MatrixBox.bottom(), 2970.0 - 200.0 - footer - legend);
        QCOMPARE(roomy.LegendBox.bottom(), 2970.0 - 200.0 - footer);
        QCOMPARE(roomy.MatrixBox.left(), 150.0);
        QCOMPARE(roomy.Text.Items[0].Text, QStringLiteral("Corvelinscope Match Matrix Report"));
        QCOMPARE(roomy.Text.Items[2].Text, QStringLiteral("1st (\"this\") file: /data/this.cdf"));
        QCOMPARE(roomy.Text.Items[4].Text, QStringLiteral("     Number of peaks: 12"));

        // A built matrix prints its forward and reverse match under the files.
        CMatrixReportTexts built = texts;
        built.Forward = 0.7;
        built.ForwardMatched = 9;
        built.ForwardConsidered = 12;
        built.Reverse = 0.608;
        built.ReverseMatched = 10;
        built.ReverseConsidered = 10;
        const CMatrixPrintPlan withValues = LayoutMatchMatrixReport(a4, layout, built, options);
        QCOMPARE(withValues.Text.Items[10].Text, QStringLiteral("Forward match: 0.700 (9 of 12 peaks matched)"));
        QVERIFY(withValues.Text.Items[11].Text.startsWith(QStringLiteral("Reverse match: 0.608 (10 of 10 peaks")));

        // A bottom border that leaves 59 mm below the text (and the legend and footer).
        layout.BorderBottom = static_cast<int>((2970.0 - textEnd - 590.0 - footer - legend) / 10.0);
        const CMatrixPrintPlan tight = LayoutMatchMatrixReport(a4, layout, texts, options);
        QVERIFY(2970.0 - layout.BorderBottom * 10.0 - textEnd - footer - legend < 600.0);
        QCOMPARE(tight.PageCount, 2);
        QCOMPARE(tight.MatrixPage, 1);
        const double side =
            std::min(2100.0 - 150.0 - 200.0, 2970.0 - 200.0 - layout.BorderBottom * 10.0 - footer - legend);
        QCOMPARE(tight.MatrixBox, QRectF(150.0, 200.0, side, side));

        // Without the options block the same borders leave room on page 1.
        layout.PrintSearchOptions = 0;
        QCOMPARE(LayoutMatchMatrixReport(a4, layout, texts, options).MatrixPage, 0);

        // The PDF of a machine without printers has the two pages.
        m_env->Settings().WriteSettingInt(SettingsScope::CurrentUser, "PageLayout", nullptr, "BorderBottom",
                                          layout.BorderBottom);
        CMatrixDisplay display;
        TempDir dir;
        const QString pdf = ToQString(dir.File("matrix.pdf"));
        QVERIFY(WriteMatchMatrixReportPdf(pdf, QStringLiteral("Corvelinscope Match Matrix"), texts, options, display));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        QCOMPARE(int(QString::fromLatin1(bytes).count(page)), 2);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(PageMatrixCompareTest)
#include "tst_PageMatrixCompare.moc"
