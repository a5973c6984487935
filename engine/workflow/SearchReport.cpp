#include "engine/workflow/SearchReport.h"

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/TextFile.h"
#include "engine/table/CsvReportFile.h"
#include "engine/table/ReportCsv.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/SearchParameterText.h"

namespace corvelin {

std::string SearchReportFileName(const std::string& unknownPath, std::time_t when)
{
    std::string name = unknownPath.size() >= 4 ? unknownPath.substr(0, unknownPath.size() - 4) : std::string();
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, " %Y-%m-%d %H-%M", &local);
    return name + stamp + ".csv";
}

std::string SearchReportText(const CSearchReport& report, const CSearchOptions& o, const CReportTable& hits)
{
    return SearchReportText(report, SearchParameterText(o), hits);
}

std::string SearchReportText(const CSearchReport& report, const std::string& parameterText, const CReportTable& hits)
{
    std::string t;
    t += "Library search results for = " + report.UnknownPath + "\n";
    t += "Sample Name = " + report.SampleName + "\n";
    t += "Number of Peaks = " + report.PeakCountText + "\n";
    t += "Chromatogram Library =  " + report.LibraryFolder + "\n";
    t += "\n";
    t += parameterText;
    t += "\n";
    if (!report.StoppedLine.empty())
        t += report.StoppedLine + "\n";
    t += "Library Hits:\n";
    t += CsvTable(hits, CsvColumnOrder::ColumnIndex);
    return t;
}

std::string StoppedSearchLine(int rows, int entries)
{
    return FormatC("Search stopped after %d of %d library entries", rows, entries);
}

bool WriteSearchReport(const CSearchReport& report, const CSearchOptions& options, const CReportTable& hits,
                       std::string* path, std::time_t when)
{
    return WriteSearchReportText(report, SearchReportText(report, options, hits), path, when);
}

bool WriteSearchReportText(const CSearchReport& report, const std::string& text, std::string* path, std::time_t when)
{
    const std::string file = SearchReportFileName(report.UnknownPath, when);
    if (path)
        *path = file;
    return WriteReportFile(
        file,
        [&] {
            const std::string used = WriteTextFileUnderFreeName(file, text);
            if (path)
                *path = used;
        },
        "Corvelinscope", MessageIcon::Stop);
}

bool WriteSearchReportTextTo(const std::string& file, const std::string& text)
{
    return WriteReportFile(
        file, [&] { WriteTextFile(file, text); }, "Corvelinscope", MessageIcon::Stop);
}

} // namespace corvelin
