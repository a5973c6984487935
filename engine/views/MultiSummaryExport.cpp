#include "engine/views/MultiSummaryExport.h"

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/TextFile.h"
#include "engine/table/CsvReportFile.h"
#include "engine/table/ReportCsv.h"
#include "engine/workflow/SearchParameterText.h"

namespace corvelin {

namespace {

const char* ValuesShown(int option)
{
    static const char* const names[] = {"Area", "Height", "RT", "Quartiles (Area)"};
    return option >= 0 && option <= 3 ? names[option] : "Area";
}

} // namespace

std::string MultiSummaryCsvText(const CSearchOptions& o, const CReportTable& table)
{
    std::string t = "Corvelinscope multiple file peak summary results\n";
    t += "\n";
    t += SearchParameterText(o);
    t += "\n";
    t += FormatC("Values shown: %s\n", ValuesShown(o.SummaryDisplayOption));
    if (o.SummaryRelative) {
        t += "Values are relative to ISTD: " + o.SummaryISTDName + "\n";
        t += FormatC("ISTD RT: %.3f\n", o.SummaryISTDRT);
        t += FormatC("ISTD match: %d\n", o.SummaryISTDMatch);
    }
    t += "\n";
    t += "Results:\n";
    t += CsvTable(table, CsvColumnOrder::ColumnIndex);
    return t;
}

bool WriteMultiSummaryCsv(const std::string& path, const CSearchOptions& options, const CReportTable& table)
{
    return WriteReportFile(path, [&] { WriteTextFile(path, MultiSummaryCsvText(options, table)); });
}

} // namespace corvelin
