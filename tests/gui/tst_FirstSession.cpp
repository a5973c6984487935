// A chemist's first session, driven with mouse and keys through the real main window (one test per finding).
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "engine/views/MultiSummaryTable.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/pages/PagePeakMatchTable.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/FrozenFirstColumn.h"
#include "gui/widgets/OdorListCtrl.h"
#include "tests/gui/GuiTestSupport.h"

using namespace corvelin;

namespace {

QPushButton* Button(QWidget* root, const QString& text)
{
    for (QPushButton* button : root->findChildren<QPushButton*>())
        if (button->text() == text && button->isVisible())
            return button;
    return nullptr;
}

void ClickRow(COdorListCtrl* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
}

// Answers the file dialogs with the path, then with "Cancel", and keeps what they were asked.
struct DialogAnswers {
    std::vector<CFileChoice> asked;
    explicit DialogAnswers(const std::string& path)
    {
        SetFileChoiceHook([this, path = QString::fromStdString(path)](const CFileChoice& request) {
            asked.push_back(request);
            return asked.size() == 1 && !path.isEmpty() ? CFileChoiceResult{path, 0, {path}} : CFileChoiceResult{};
        });
    }
    ~DialogAnswers() { SetFileChoiceHook({}); }
};

} // namespace

class FirstSessionTest : public QObject {
    Q_OBJECT

    bool Search(CLibraryManagerSheet& sheet, const std::string& library)
    {
        CPageLibrarySearch* page = sheet.LibrarySearchPage();
        page->Session.UnknownPath = m_unknown;
        page->Session.LibraryFolder = library;
        page->RefreshControls();
        QTest::mouseClick(Button(page, QStringLiteral("Search")), Qt::LeftButton);
        return WaitFor([page] { return !page->IsRunning(); }) && page->HitList()->Table().RowCount() > 0;
    }
    std::string Said(const char* kind = "message") const
    {
        std::string all;
        for (const std::string& text : m_env->Recorder().Texts(kind))
            all += text + "|";
        return all;
    }

private slots:
    void init()
    {
        m_env = std::make_unique<GuiTestEnvironment>();
        if (!m_env->HasEntryReader())
            QSKIP("the library entry reader module was not built");
        m_dir = std::make_unique<TempDir>();
        m_unknown = m_dir->File("probe.ChromLibEntry");
        WriteTestEntry(m_unknown, 12, 20, "Probe");
        m_library = MakeTestLibrary(*m_dir, "lib", 4, 20);
    }
    void cleanup()
    {
        m_dir.reset();
        m_env.reset();
    }

    // The library search page, a hit handed to the peak match table and its export, then the program started again.
    void searchPageAndPeakTableAcrossARestart()
    {
        int dragged = 0;
        for (int start = 0; start < 2; ++start) {
            CLibraryManagerSheet sheet;
            sheet.show();
            CPageLibrarySearch* page = sheet.LibrarySearchPage();
            if (start == 0) { // the first file dialog starts on "All known file types"
                DialogAnswers answers("");
                QTest::mouseClick(Button(page, QStringLiteral("Browse")), Qt::LeftButton);
                QCOMPARE(answers.asked.at(0).filterIndex, QtNameFilters(answers.asked.at(0).filter).size());
            } else { // the folder searched last is proposed
                QCOMPARE(page->Session.LibraryFolder, m_library);
            }
            QVERIFY(Search(sheet, m_library));
            QHeaderView* head = page->HitList()->header();
            const CReportTable& t = page->HitList()->Table();
            for (int c = 0; c < t.ColumnCount() && start == 0; ++c) // no "ELE..." nor "Fowar"
                for (int r = -1; r < t.RowCount(); ++r)
                    QVERIFY(head->sectionSize(c) >=
                            page->HitList()->TextWidth(r < 0 ? t.Header(c) : t.Cell(r, c)) - 12);
            if (start == 1) {
                QCOMPARE(head->sectionSize(3), dragged);
                return;
            }
            // The user drags the right border of "Foward" 37 pixels to the right.
            dragged = head->sectionSize(3) + 37;
            const QPoint border(head->sectionViewportPosition(3) + head->sectionSize(3) - 1, head->height() / 2);
            QTest::mousePress(head->viewport(), Qt::LeftButton, {}, border);
            QMouseEvent move(QEvent::MouseMove, QPointF(border + QPoint(37, 0)), head->viewport()->mapToGlobal(border),
                             Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(head->viewport(), &move);
            QTest::mouseRelease(head->viewport(), Qt::LeftButton, {}, border + QPoint(37, 0));
            QCOMPARE(head->sectionSize(3), dragged);

            // The first hit goes to the peak match table, whose export proposes a CSV file and asks before
            // replacing one ("No": the dialog again, then "Cancel").
            ClickRow(page->HitList(), 0);
            const std::unique_ptr<QMenu> menu = page->CreateContextMenu();
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("Build peak match table"))
                    action->trigger();
            auto* table = static_cast<CPagePeakMatchTable*>(sheet.Page(IPageHost::PeakMatchTable));
            QCOMPARE(sheet.findChild<QTabWidget*>()->currentWidget(), table);
            QVERIFY(WaitFor([table] { return !table->IsBusy(); }));
            const std::string name = "probe.ChromLibEntry_" + t.Cell(0, 0) + ".CSV";
            WriteAllText(m_dir->File(name), "keep");
            DialogAnswers answers(m_dir->File(name));
            m_env->Recorder().answers = {MessageAnswer::No};
            QTest::mouseClick(Button(table, QStringLiteral("CSV-Export")), Qt::LeftButton);
            QCOMPARE(answers.asked.at(0).initialFile.toStdString(), name);
            QCOMPARE(answers.asked.size(), std::size_t(2));
            QCOMPARE(Said("yesno"), name + " already exists.\nDo you want to replace it?|");
            QCOMPARE(ReadAllText(m_dir->File(name)), std::string("keep"));
        }
    }

    void multiFilePageSaysWhatItDoesAndKeepsTheFileColumn()
    {
        CLibraryManagerSheet sheet;
        sheet.resize(700, 600);
        sheet.show();
        QVERIFY(sheet.ActivatePage(IPageHost::MultiSummary));
        auto* page = static_cast<CPageMultiSummary*>(sheet.Page(IPageHost::MultiSummary));
        QVERIFY(page->AddFile(m_unknown));
        QTest::mouseClick(Button(page, QStringLiteral("Go")), Qt::LeftButton);
        QVERIFY(WaitFor([page] { return !page->IsBusy() && page->Results()->Table().RowCount() == 1; }));
        QVERIFY(page->findChild<QLineEdit*>()->toolTip().contains(QStringLiteral("fixed threshold")));
        const int peak = SummaryCellPeak(page->Result(), 0, kSummaryFirstGroupColumn + 4)->PeakNumber;
        const std::string tip = page->TipTextAt(0, kSummaryFirstGroupColumn + 4);
        QVERIFY2(tip.find(FormatC("Group ID = 5<br>Peak Number = %2i<br>", peak)) != std::string::npos, tip.c_str());
        QScrollBar* sideways = page->Results()->horizontalScrollBar();
        sideways->setValue(sideways->maximum());
        auto* frozen = page->Results()->findChild<CFrozenFirstColumn*>();
        QVERIFY(sideways->maximum() > 0 && frozen && frozen->isVisible() && frozen->FrozenColumn() == 0);
    }

    void openInDataSystemSaysWhyItCannot()
    {
        QVERIFY(m_env->AddAndiReader()); // a reader of files only, without a data system program
        std::filesystem::create_directories(m_dir->File("cdf"));
        WriteTestEntry(m_dir->File("cdf/run.cdf.ChromLibEntry"), 12, 20, "Run");
        CLibraryManagerSheet sheet;
        sheet.show();
        QVERIFY(Search(sheet, m_dir->File("cdf/")));
        ClickRow(sheet.LibrarySearchPage()->HitList(), 0);
        sheet.LibrarySearchPage()->CreateContextMenu()->actions().at(0)->trigger(); // "Open Chromatogram in ..."
        QVERIFY2(Said().find("cannot open '") != std::string::npos, Said().c_str());
    }

    // RI matching on runs without an RI calibration keeps its numbers but says so: the unknown by name, the
    // library by count.
    void riMatchingWithoutACalibrationIsSaid()
    {
        CLibraryManagerSheet sheet;
        sheet.show();
        sheet.Options().RIMatching = 1;
        QVERIFY(Search(sheet, m_library));
        QVERIFY2(Said().find("Insufficient RI calibration data for file " + m_unknown) != std::string::npos,
                 Said().c_str());
        QVERIFY2(Said().find("Insufficient RI calibration data for 4 of 4 library entries") != std::string::npos,
                 Said().c_str());
    }

    // The hit list the program saved, given back to it as the unknown, is refused as what it is.
    void aSavedHitListGivenAsTheUnknownIsRefusedAsAReport()
    {
#ifdef CORVELIN_PEAK_TABLE_MODULE
        QVERIFY(m_env->AddRegisteredReader(CORVELIN_PEAK_TABLE_MODULE, "Peak Table (CSV)", ".csv", "PeakTableCsv"));
        CLibraryManagerSheet sheet;
        sheet.show();
        QVERIFY(Search(sheet, m_library));
        QTest::mouseClick(Button(sheet.LibrarySearchPage(), QStringLiteral("Save hit list")), Qt::LeftButton);
        std::string report; // written under a name of its own, beside the unknown
        for (const auto& file : std::filesystem::recursive_directory_iterator(m_dir->Path()))
            if (file.path().extension() == ".csv" || file.path().extension() == ".CSV")
                report = file.path().string();
        QVERIFY(!report.empty());
        m_unknown = report;
        m_env->Recorder().entries.clear();
        QVERIFY(Search(sheet, m_library)); // the one row that says the unknown could not be read
        QCOMPARE(sheet.LibrarySearchPage()->HitList()->Table().RowCount(), 1);
        QVERIFY2(Said().find("'" + report + "' is a Corvelinscope library search report, not a chromatogram.") !=
                     std::string::npos,
                 Said().c_str());
#else
        QSKIP("the peak table reader module was not built");
#endif
    }

    // Extras > Options switches a page off and on again at once: its tick box and OK, no restart asked for.
    void optionsSwitchAPageAtOnce()
    {
        CLibraryManagerSheet sheet;
        sheet.show();
        auto* tabs = sheet.findChild<QTabWidget*>();
        QWidget* table = sheet.Page(IPageHost::PeakMatchTable);
        QAction* options = nullptr;
        for (QAction* action : sheet.findChildren<QAction*>())
            if (action->text() == QStringLiteral("&Options ..."))
                options = action;
        QVERIFY(options);
        const bool shownAtStart = tabs->indexOf(table) >= 0;
        for (int change = 1; change <= 2; ++change) {
            QTimer::singleShot(0, [] {
                QWidget* dialog = QApplication::activeModalWidget();
                for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                    if (box->text() == QStringLiteral("Show \"Peak Match Table\""))
                        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
                QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
                QTest::mouseClick(ok, Qt::LeftButton);
            });
            options->trigger();
            QCOMPARE(tabs->indexOf(table) >= 0, change % 2 == 1 ? !shownAtStart : shownAtStart);
        }
        QCOMPARE(Said(), std::string());
    }

    // The ISTD name outlives a restart, the spectral list it points into does not: the multi-file page says so.
    void multiFilePageSaysTheIstdSpectrumIsGoneAfterARestart()
    {
        CLibraryChromatogram probe;
        probe.ReadEntry(m_unknown);
        for (int start = 0; start < 2; ++start) {
            CLibraryManagerSheet sheet;
            sheet.Options().LoadLastUsed("Global"); // as the program starts
            for (int id = 0; id < CLibraryManagerSheet::PageCount; ++id)
                sheet.Page(static_cast<CLibraryManagerSheet::PageId>(id))->RefreshControls();
            sheet.show();
            if (start == 0) {
                sheet.Options().SummaryRelative = 1;
                sheet.Options().SummaryISTDName = "ISTD-d8";
                sheet.Options().AddSpectrum("ISTD-d8", probe.GetPeak(0)->Spectrum, true);
            }
            QVERIFY(sheet.ActivatePage(IPageHost::MultiSummary));
            QLabel* note = nullptr;
            for (QLabel* label : sheet.Page(IPageHost::MultiSummary)->findChildren<QLabel*>())
                if (label->text().contains(QStringLiteral("\"ISTD-d8\" is not in the spectral list")))
                    note = label;
            QCOMPARE(note != nullptr && note->isVisible(), start == 1);
            if (start == 0)
                QTest::mouseClick(sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        }
    }

    void f1InAModalDialogGivesHelpThatCanBeClosed()
    {
        CLibraryManagerSheet sheet;
        WriteAllText(m_dir->File("index.html"), "<h1>Help</h1>");
        sheet.SetHelpPath(m_dir->File("index.html"));
        sheet.show();
        bool closed = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
            CHelpWindow* help = sheet.HelpWindow();
            if (help && QTest::qWaitForWindowExposed(help)) {
                QPushButton* close = help->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
                QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, close->mapTo(help, close->rect().center()));
                closed = !help->isVisible();
            }
            static_cast<QDialog*>(dialog)->reject();
        });
        sheet.LibrarySearchPage()->OnColumnArrangement();
        QVERIFY(closed);
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
    std::unique_ptr<TempDir> m_dir;
    std::string m_unknown;
    std::string m_library;
};

CORVELIN_GUI_TEST_MAIN(FirstSessionTest)
#include "tst_FirstSession.moc"
