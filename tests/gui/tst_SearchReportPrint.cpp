// The printed library search report: layout in 0.1 mm, page flow, column order and spacing, selected rows,
// and the PDF file written when there is no printer.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include "tests/gui/GuiTestSupport.h"
#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "gui/print/LibrarySearchReportPrinter.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/HitList.h"

using namespace corvelin;

namespace {

void FillHitList(CReportTable& table, int rows)
{
    SetUpHitListColumns(table);
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> cells(kHitListColumns, "0.500");
        cells[0] = "entry" + std::to_string(r) + ".ChromLibEntry";
        cells[1] = "Sample " + std::to_string(r);
        cells[2] = "comment";
        cells[5] = "12/15";
        cells[6] = "11/15";
        table.AddRow(cells);
    }
}

std::vector<const CPrintItem*> ItemsOnPage(const CPrintPlan& plan, int page)
{
    std::vector<const CPrintItem*> items;
    for (const CPrintItem& item : plan.Items)
        if (item.Page == page)
            items.push_back(&item);
    return items;
}

} // namespace

class SearchReportPrintTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<GuiTestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void sixtyRowsFlowOverPages()
    {
        CReportTable table;
        FillHitList(table, 60);
        // The user dragged "Foward" to the front.
        std::vector<int> order = table.DisplayOrder();
        order.erase(std::find(order.begin(), order.end(), 3));
        order.insert(order.begin(), 3);
        table.SetDisplayOrder(order);

        CSearchOptions options;
        CSearchReportTexts texts{"/data/run1.cdf", "Run one", "42"};
        const CPageLayoutSettings layout;
        const CPaperMetrics a4;
        const CPrintPlan plan = LayoutLibrarySearchReport(a4, layout, texts, options, table);
        QVERIFY(plan.PageCount >= 2);

        // Page 1 starts with the title block at the top border (20 mm) and the left border (15 mm).
        const auto first = ItemsOnPage(plan, 0);
        QCOMPARE(first[0]->Text, QStringLiteral("Corvelinscope result report"));
        QVERIFY(first[0]->Bold);
        QCOMPARE(first[0]->Box.top(), 200.0);
        QCOMPARE(first[0]->Box.left(), 150.0);
        QCOMPARE(first[1]->Text, QStringLiteral(" "));
        QCOMPARE(first[2]->Text, QStringLiteral("Searched file: /data/run1.cdf"));
        QCOMPARE(first[3]->Text, QStringLiteral("Sample name: Run one"));
        QCOMPARE(first[4]->Text, QStringLiteral("Number of peaks: 42"));
        // The options block follows (its heading line in bold).
        const std::vector<CPrintLine> summary = options.PrintSummary();
        QVERIFY(!summary.empty());
        QCOMPARE(first[6]->Text, ToQString(summary[0].Text));

        // Column headers in on-screen order, each column at least 3 x 40 pixels = 120 units wide and at least as
        // wide as its texts; the 17 columns do not fit 175 mm, so the rest continue in a band below that
        // repeats "File". Within a band no two columns overlap and none passes the right border.
        const double right = a4.Width - layout.BorderRight * 10.0;
        std::vector<const CPrintItem*> headers;
        for (const CPrintItem& item : plan.Items)
            if (item.Bold && !item.Wrap && !item.Repeat)
                headers.push_back(&item);
        QCOMPARE(headers[0]->Text, QStringLiteral("Foward"));
        QCOMPARE(headers[1]->Text, QStringLiteral("File"));
        QStringList names;
        int bands = 1;
        for (std::size_t i = 0; i < headers.size(); ++i) {
            QVERIFY(headers[i]->Box.width() >= 120.0);
            QVERIFY(headers[i]->Box.right() <= right);
            if (i > 0 && headers[i]->Box.left() <= headers[i - 1]->Box.left()) {
                ++bands; // a new band starts at the left border with the repeated "File" column
                QCOMPARE(headers[i]->Box.left(), 150.0);
                QCOMPARE(headers[i]->Text, QStringLiteral("File"));
                continue;
            }
            if (i > 0)
                QVERIFY(headers[i]->Box.left() >= headers[i - 1]->Box.right());
            names << headers[i]->Text;
        }
        QVERIFY(bands >= 2);
        QCOMPARE(names.size(), kHitListColumns);
        // Every cell lies in its column's box, which is as wide as the widest text the column prints.
        for (const CPrintItem& item : plan.Items)
            if (!item.Wrap)
                QVERIFY(item.Box.right() <= right);

        // Nothing crosses the bottom border less 2.5 lines; a continued page starts at the top border.
        const double bottom = a4.Height - layout.BorderBottom * 10.0;
        for (int p = 1; p < plan.PageCount; ++p) {
            const auto items = ItemsOnPage(plan, p);
            QVERIFY(!items.empty());
            QCOMPARE(items.front()->Box.top(), 200.0);
            for (const CPrintItem* item : items)
                QVERIFY(item->Box.bottom() <= bottom);
        }
        double lowestTableBottom = 0;
        for (const CPrintItem* item : first)
            if (!item->Wrap)
                lowestTableBottom = std::max(lowestTableBottom, item->Box.bottom());
        QVERIFY(lowestTableBottom <= bottom - 2.5 * first.back()->Box.height() + 0.5);
        // 60 rows of the "File" column in each band.
        int fileCells = 0;
        for (const CPrintItem& item : plan.Items)
            fileCells += item.Text.startsWith(QStringLiteral("entry"));
        QCOMPARE(fileCells, 60 * bands);
    }

    // Every page carries the date, the program version and "Page n of m" on its last line; every page a band
    // continues on starts with the band's header row; no mnemonic marks reach the paper.
    void everyPageHasItsFooterAndTheBandHeader()
    {
        CReportTable table;
        FillHitList(table, 120);
        const CPageLayoutSettings layout;
        const CPrintPlan plan = LayoutLibrarySearchReport(CPaperMetrics{}, layout, {"/data/run1.cdf", "Run one", "42"},
                                                          CSearchOptions{}, table, QStringLiteral("2031-04-05"));
        QVERIFY(plan.PageCount >= 3);
        const double bottom = 2970.0 - layout.BorderBottom * 10.0;
        for (int p = 0; p < plan.PageCount; ++p) {
            const auto items = ItemsOnPage(plan, p);
            QStringList footer;
            const CPrintItem* firstCell = nullptr;
            for (const CPrintItem* item : items) {
                QVERIFY2(!item->Text.contains(QLatin1Char('_')), qPrintable(item->Text));
                if (qFuzzyCompare(item->Box.bottom(), bottom))
                    footer << item->Text;
                else if (!item->Wrap && !firstCell)
                    firstCell = item;
            }
            QCOMPARE(footer, (QStringList{ReportFooterText(QStringLiteral("2031-04-05")),
                                          QStringLiteral("Page %1 of %2").arg(p + 1).arg(plan.PageCount)}));
            QVERIFY(footer[0].contains(QStringLiteral("2031-04-05 by Corvelinscope ")));
            // Pages holding table rows start their table part with a bold header row.
            QVERIFY(firstCell);
            QVERIFY2(firstCell->Bold, qPrintable(firstCell->Text));
            QCOMPARE(firstCell->Text, QStringLiteral("File"));
        }
    }

    void selectedRowsOnlyWhenSomeButNotAll_data()
    {
        QTest::addColumn<std::vector<int>>("selected");
        QTest::addColumn<int>("printed");
        QTest::newRow("none") << std::vector<int>{} << 10;
        QTest::newRow("two") << std::vector<int>{2, 7} << 2;
        QTest::newRow("all") << std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << 10;
    }
    void selectedRowsOnlyWhenSomeButNotAll()
    {
        QFETCH(std::vector<int>, selected);
        QFETCH(int, printed);
        CReportTable table;
        FillHitList(table, 10);
        for (int r : selected)
            table.SetSelected(r, true);
        const CPrintPlan plan =
            LayoutLibrarySearchReport(CPaperMetrics{}, CPageLayoutSettings{}, {}, CSearchOptions{}, table);
        int rows = 0;
        for (const CPrintItem& item : plan.Items)
            rows += !item.Wrap && item.Text.startsWith(QStringLiteral("Sample "));
        QCOMPARE(rows, printed);
    }

    void withoutSearchOptionsBlock()
    {
        CPageLayoutSettings layout;
        layout.PrintSearchOptions = 0;
        CReportTable table;
        FillHitList(table, 1);
        const CPrintPlan plan = LayoutLibrarySearchReport(CPaperMetrics{}, layout, {}, CSearchOptions{}, table);
        // Title, blank, three texts, blank, then directly the table header.
        QCOMPARE(plan.Items[6].Text, QStringLiteral("File"));
    }

    void pdfWithoutPrinterHasOnePagePerLaidOutPage()
    {
        CReportTable table;
        FillHitList(table, 60);
        TempDir dir;
        const QString pdf = ToQString(dir.File("report.pdf"));
        CSearchReportTexts texts{"/data/run1.cdf", "Run one", "42"};
        CSearchOptions options;
        QVERIFY(WriteLibrarySearchReportPdf(pdf, texts, options, table));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        const CPrintPlan laidOut =
            LayoutLibrarySearchReport(CPaperMetrics{}, CPageLayoutSettings::Load(), texts, options, table);
        QCOMPARE(int(QString::fromLatin1(bytes).count(page)), laidOut.PageCount);

        // The same pages as pictures, for a reviewer (0.1 mm = 0.5 pixel), with the columns sized to their
        // content as the list's auto-size leaves them on screen.
        const QFontMetrics metrics(QApplication::font());
        table.AutoSizeColumns(-1, true,
                              [&](const std::string& text) { return metrics.horizontalAdvance(ToQString(text)) + 12; });
        const CPageLayoutSettings layout = CPageLayoutSettings::Load();
        const CPrintPlan plan = LayoutLibrarySearchReport(CPaperMetrics{}, layout, texts, options, table);
        for (int p = 0; p < plan.PageCount; ++p) {
            QImage image(1050, 1485, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.scale(0.5, 0.5);
            DrawPrintPage(painter, plan, p, layout);
            painter.end();
            if (ScreenshotsWanted())
                QVERIFY(image.save(ScreenshotFolder() + QStringLiteral("/report-page-%1.png").arg(p + 1)));
        }
    }

private:
    std::unique_ptr<GuiTestEnvironment> m_env;
};

CORVELIN_GUI_TEST_MAIN(SearchReportPrintTest)
#include "tst_SearchReportPrint.moc"
