#include "engine/workflow/SearchReport.h"

#include <cstring>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/TextFile.h"
#include "engine/table/ReportCsv.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

namespace {

const char* YesNo(int flag)
{
    return flag ? "Yes" : "No";
}

const char* WeightingName(int weighting)
{
    static const char* const names[] = {"none", "Area", "Height", "log(Area)", "log(Height)"};
    return weighting >= 0 && weighting <= 4 ? names[weighting] : "none";
}

} // namespace

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
    std::string t;
    t += "Library search results for = " + report.UnknownPath + "\n";
    t += "Sample Name = " + report.SampleName + "\n";
    t += "Number of Peaks = " + report.PeakCountText + "\n";
    t += "Chromatogram Library =  " + report.LibraryFolder + "\n";
    t += "\n";
    t += "Search Parameter:\n";
    t += FormatC("MS matching = %s\n", YesNo(o.MSMatching));
    t += FormatC("RT matching = %s\n", YesNo(o.RTMatching));
    t += FormatC("RI matching = %s\n", YesNo(o.RIMatching));
    t += FormatC("Area matching = %s\n", YesNo(o.AreaMatching));
    t += FormatC("Height matching = %s\n", YesNo(o.HeightMatching));
    t +=
        FormatC("Area/Height compare option = %s\n", o.AbsoluteAreaHeight ? "absolute counts" : "relative area/height");
    t += "RT search range: " + o.TimeRange + "\n";
    t += FormatC("Allow multiple matching = %s\n", YesNo(o.MultipleMatching));
    t += FormatC("Weighting: %s\n", WeightingName(o.Weighting));
    if (o.RTMatching)
        t += FormatC("RT window width: %.2f\n", o.RTWindowWidth);
    if (o.RIMatching)
        t += FormatC("RI window width: %.1f\n", o.RIWindowWidth);
    t += FormatC("Mass Threshold used: %s\n", YesNo(o.MassThresholdOn));
    if (o.MassThresholdOn)
        t += FormatC("Mass Threshold: %.2f %%\n", o.MassThreshold);
    t += FormatC("Area Threshold used: %s\n", YesNo(o.AreaThresholdOn));
    if (o.AreaThresholdOn)
        t += FormatC("Area Threshold: %.2f %%\n", o.AreaThreshold);
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
    const std::string file = SearchReportFileName(report.UnknownPath, when);
    if (path)
        *path = file;
    try {
        const std::string used = WriteTextFileUnderFreeName(file, SearchReportText(report, options, hits));
        if (path)
            *path = used;
    } catch (const CFileException& e) {
        ShowMessage(
            std::string(std::strerror(e.GetOsError())) + "\n" +
                FormatC("Could not open file %s. Please ensure that it is not opened, e.g. by Excel.", file.c_str()),
            "Corvelinscope", MessageIcon::Stop);
        return false;
    }
    return true;
}

}  // namespace corvelin
