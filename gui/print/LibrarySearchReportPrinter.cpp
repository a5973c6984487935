#include "gui/print/LibrarySearchReportPrinter.h"

#include <QFont>

#include "engine/options/SearchOptions.h"
#include "engine/table/ReportTable.h"
#include "gui/print/ReportPrinting.h"
#include "gui/print/ReportTablePrint.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CPrintPlan LayoutLibrarySearchReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                     const CSearchReportTexts& texts, const CSearchOptions& options,
                                     const CReportTable& hitList, const QString& date)
{
    const QRectF area = ReportTextArea(paper, layout);
    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    const CTextMeasure measure;
    const CStrip strip = ReportStrip(paper, layout);

    CPrintPlan plan;
    double y = 0;
    auto line = [&](const QString& text, bool isBold) {
        const double h = measure.WrappedHeight(isBold ? bold : base, area.width(), text);
        const auto [page, pageTop] = strip.Place(y, h);
        plan.Items.push_back({page, QRectF(area.left(), pageTop, area.width(), h), text, isBold, true});
    };

    line(QStringLiteral("Corvelinscope result report"), true);
    line(QStringLiteral(" "), false);
    line(QStringLiteral("Searched file: ") + ToQString(texts.UnknownPath), false);
    line(QStringLiteral("Sample name: ") + ToQString(texts.SampleName), false);
    line(QStringLiteral("Number of peaks: ") + ToQString(texts.PeakCountText), false);
    line(QStringLiteral(" "), false);
    if (layout.PrintSearchOptions != 0)
        for (const CPrintLine& summary : options.PrintSummary())
            line(ToQString(summary.Text), summary.Heading);

    LayoutReportTable(plan, strip, y, area.left(), area.width(), layout, hitList, 0);
    FinishReportPages(plan, 1, area, layout, date);
    return plan;
}

namespace {

CPlannedReport SearchReport(const CSearchReportTexts& texts, const CSearchOptions& options, const CReportTable& hitList)
{
    return CPlannedReport([&](const CPaperMetrics& paper, const CPageLayoutSettings& layout) {
        return LayoutLibrarySearchReport(paper, layout, texts, options, hitList);
    });
}

QString DocName()
{
    return QStringLiteral("Corvelinscope");
}

} // namespace

bool WriteLibrarySearchReportPdf(const QString& pdfPath, const CSearchReportTexts& texts, const CSearchOptions& options,
                                 const CReportTable& hitList)
{
    CPlannedReport report = SearchReport(texts, options, hitList);
    return WriteReportPdf(pdfPath, DocName(), report);
}

bool PrintLibrarySearchReport(QWidget* parent, const CSearchReportTexts& texts, const CSearchOptions& options,
                              const CReportTable& hitList, bool batch, const QString& pdfPath)
{
    CPlannedReport report = SearchReport(texts, options, hitList);
    return PrintReport(parent, DocName(), report, batch, pdfPath);
}

} // namespace corvelin
