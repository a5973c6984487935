#pragma once
// The printed mass spec match report, in 0.1 mm units: bold title, the chromatogram with its sample name and data
// system, then the report table (gui/print/ReportTablePrint.h; its bands repeat the "RT" column). Every page
// carries the footer (date, program version, "Page n of m").
#include <QString>
#include <string>

#include "gui/print/PrintLayout.h"

class QWidget;

namespace corvelin {

class CReportTable;

struct CMassSpecReportTexts {
    std::string Path;
    std::string SampleName;
    std::string DataSystem;
};

CPrintPlan LayoutMassSpecReport(const CPaperMetrics& paper, const CPageLayoutSettings& layout,
                                const CMassSpecReportTexts& texts, const CReportTable& table,
                                const QString& date = ReportDate());

// The print dialog, then the report; without any printer the report goes to pdfPath and the user is told so.
bool PrintMassSpecReport(QWidget* parent, const CMassSpecReportTexts& texts, const CReportTable& table,
                         const QString& pdfPath);
// The report as an A4 PDF file.
bool WriteMassSpecReportPdf(const QString& pdfPath, const CMassSpecReportTexts& texts, const CReportTable& table);

} // namespace corvelin
