#include "gui/print/MassSpecReportPrinter.h"

#include <QFont>

#include "engine/table/ReportTable.h"
#include "gui/print/ReportPrinting.h"
#include "gui/print/ReportTablePrint.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CPrintPlan LayoutMassSpecReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                const CMassSpecReportTexts& texts, const CReportTable& table, const QString& date)
{
    const QRectF area = ReportTextArea(paper, layout);
    const CTextMeasure measure;
    const CStrip strip = ReportStrip(paper, layout);
    CPrintPlan plan;
    double y = 0;
    auto line = [&](const QString& text, bool isBold) {
        const double h =
            measure.WrappedHeight(isBold ? ReportBoldFont(layout) : ReportBaseFont(layout), area.width(), text);
        const auto [page, pageTop] = strip.Place(y, h);
        plan.Items.push_back({page, QRectF(area.left(), pageTop, area.width(), h), text, isBold, true});
    };
    line(QStringLiteral("Corvelinscope Mass Spec Match Report"), true);
    line(QStringLiteral(" "), false);
    line(QStringLiteral("Chromatogram: ") + ToQString(texts.Path), false);
    line(QStringLiteral("Sample name: ") + ToQString(texts.SampleName), false);
    line(QStringLiteral("Data system: ") + ToQString(texts.DataSystem), false);
    line(QStringLiteral(" "), false);
    LayoutReportTable(plan, strip, y, area.left(), area.width(), layout, table, 0);
    FinishReportPages(plan, 1, area, layout, date);
    return plan;
}

namespace {

CPlannedReport Printout(const CMassSpecReportTexts& texts, const CReportTable& table)
{
    return CPlannedReport([&](const CPaperMetrics& paper, const CPageLayoutSettings& layout) {
        return LayoutMassSpecReport(paper, layout, texts, table);
    });
}

QString DocName()
{
    return QStringLiteral("Corvelinscope Mass Spec Match Report");
}

} // namespace

bool PrintMassSpecReport(QWidget* parent, const CMassSpecReportTexts& texts, const CReportTable& table,
                         const QString& pdfPath)
{
    CPlannedReport report = Printout(texts, table);
    return PrintReport(parent, DocName(), report, false, pdfPath);
}

bool WriteMassSpecReportPdf(const QString& pdfPath, const CMassSpecReportTexts& texts, const CReportTable& table)
{
    CPlannedReport report = Printout(texts, table);
    return WriteReportPdf(pdfPath, DocName(), report);
}

} // namespace corvelin
