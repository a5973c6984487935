#include "gui/print/MatchMatrixReportPrinter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatrixDisplay.h"
#include "gui/print/ReportPrinting.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

double MatrixLegendHeight(const CPageLayoutSettings& layout)
{
    return 5 * kPrintUnitsPerMm + CTextMeasure().LineHeight(ReportBaseFont(layout)) + 2 * kPrintUnitsPerMm;
}

CMatrixPrintPlan LayoutMatchMatrixReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                         const CMatrixReportTexts& texts, const CSearchOptions& options,
                                         const QString& date)
{
    const QRectF area = ReportTextArea(paper, layout);
    const double left = area.left();
    const double width = area.width();
    const QFont base = ReportBaseFont(layout);
    const QFont bold = ReportBoldFont(layout);
    const CTextMeasure measure;
    const CStrip strip = ReportStrip(paper, layout);

    CMatrixPrintPlan plan;
    double y = 0;
    auto line = [&](const std::string& text, bool isBold) {
        const QString q = text.empty() ? QStringLiteral(" ") : ToQString(text);
        const double h = measure.WrappedHeight(isBold ? bold : base, width, q);
        const auto [page, pageTop] = strip.Place(y, h);
        plan.Text.Items.push_back({page, QRectF(left, pageTop, width, h), q, isBold, true});
    };
    line("Corvelinscope Match Matrix Report", true);
    line("", false);
    line(FormatC("1st (\"this\") file: %s", texts.ThisPath.c_str()), false);
    line(FormatC("     Sample name: %s", texts.ThisSampleName.c_str()), false);
    line(FormatC("     Number of peaks: %li", texts.ThisPeakCount), false);
    line("", false);
    line(FormatC("2nd (\"other\") file: %s", texts.OtherPath.c_str()), false);
    line(FormatC("     Sample name: %s", texts.OtherSampleName.c_str()), false);
    line(FormatC("     Number of peaks: %li", texts.OtherPeakCount), false);
    line("", false);
    if (texts.Forward >= 0) {
        line(FormatC("Forward match: %.3f (%i of %i peaks matched)", texts.Forward, texts.ForwardMatched,
                     texts.ForwardConsidered),
             false);
        line(FormatC("Reverse match: %.3f (%i of %i peaks matched; each \"other\" peak takes its best \"this\" peak, "
                     "without the one-to-one assignment of the library search)",
                     texts.Reverse, texts.ReverseMatched, texts.ReverseConsidered),
             false);
        line("", false);
    }
    if (layout.PrintSearchOptions != 0)
        for (const CPrintLine& summary : options.PrintSummary())
            line(summary.Text, summary.Heading);

    const double legend = MatrixLegendHeight(layout);
    const double pageHeight = strip.PageHeight();
    int page = static_cast<int>(std::floor(y / pageHeight));
    const double within = y - page * pageHeight;
    if (pageHeight - within >= kMatrixMinimumHeight + legend) {
        plan.MatrixBox = QRectF(left, area.top() + within, width, pageHeight - within - legend);
    } else {
        ++page;
        const double side = std::min(width, pageHeight - legend);
        plan.MatrixBox = QRectF(left, area.top(), side, side);
    }
    plan.LegendBox = QRectF(left, plan.MatrixBox.bottom() + 2 * kPrintUnitsPerMm, plan.MatrixBox.width(),
                            legend - 2 * kPrintUnitsPerMm);
    plan.MatrixPage = page;
    FinishReportPages(plan.Text, page + 1, area, layout, date);
    plan.PageCount = plan.Text.PageCount;
    return plan;
}

void DrawMatchMatrixPage(QPainter& painter, const CMatrixPrintPlan& plan, int page, const CPageLayoutSettings& layout,
                         const CMatrixDisplay& display)
{
    DrawPrintPage(painter, plan.Text, page, layout);
    if (page != plan.MatrixPage)
        return;
    painter.save();
    painter.setFont(ReportBaseFont(layout));
    painter.setPen(Qt::black);
    painter.setClipRect(plan.MatrixBox);
    display.Draw(painter, plan.MatrixBox.toRect(), true);
    painter.setClipping(false);
    CColorScale::Draw(painter, plan.LegendBox.toRect());
    painter.restore();
}

namespace {

class CMatrixReport : public CPrintableReport {
public:
    CMatrixReport(const CMatrixReportTexts& texts, const CSearchOptions& options, const CMatrixDisplay& display)
        : m_texts(texts), m_options(options), m_display(display), m_layout(CPageLayoutSettings::Load())
    {
    }
    int Layout(const CPaperMetrics& paper) override
    {
        m_plan = LayoutMatchMatrixReport(paper, m_layout, m_texts, m_options);
        return m_plan.PageCount;
    }
    void DrawPage(QPainter& painter, int page) const override
    {
        DrawMatchMatrixPage(painter, m_plan, page, m_layout, m_display);
    }

private:
    const CMatrixReportTexts& m_texts;
    const CSearchOptions& m_options;
    const CMatrixDisplay& m_display;
    CPageLayoutSettings m_layout;
    CMatrixPrintPlan m_plan;
};

} // namespace

bool WriteMatchMatrixReportPdf(const QString& pdfPath, const QString& docName, const CMatrixReportTexts& texts,
                               const CSearchOptions& options, const CMatrixDisplay& display)
{
    CMatrixReport report(texts, options, display);
    return WriteReportPdf(pdfPath, docName, report);
}

bool PrintMatchMatrixReport(QWidget* parent, const QString& docName, const CMatrixReportTexts& texts,
                            const CSearchOptions& options, const CMatrixDisplay& display, const QString& pdfPath)
{
    CMatrixReport report(texts, options, display);
    return PrintReport(parent, docName, report, false, pdfPath);
}

} // namespace corvelin
