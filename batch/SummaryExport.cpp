#include "batch/SummaryExport.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "batch/BatchProgram.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

namespace {

std::vector<std::string> Values(const std::vector<std::string>& args, const char* keyword)
{
    std::vector<std::string> out;
    const std::size_t length = std::char_traits<char>::length(keyword);
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword)) {
            std::string value = args[i].substr(length);
            if (!value.empty() && value.back() == '"')
                value.pop_back();
            out.push_back(value);
        }
    return out;
}

bool AnyPluginReads(const std::string& path)
{
    const CDatasystemPlugins& plugins = DatasystemPlugins();
    for (int i = 0; i < plugins.GetCount(); ++i)
        if (const CDatasystemPlugin* plugin = plugins.GetPlugin(i); plugin && plugin->MatchesExtension(path))
            return true;
    return false;
}

} // namespace

bool IsSummaryRequest(const std::vector<std::string>& args)
{
    return !Values(args, "/Summary=").empty();
}

std::vector<std::string> SummaryInputs(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    const auto add = [&](const std::string& path) {
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
    };
    for (const std::string& value : Values(args, "/SummaryOf=")) {
        std::error_code ec;
        if (!std::filesystem::is_directory(value, ec)) {
            add(value);
            continue;
        }
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(value, ec))
            if (entry.is_regular_file(ec) && AnyPluginReads(entry.path().filename().string()))
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            add(file);
    }
    return paths;
}

int RunSummaryExport(const std::vector<std::string>& args, const CSearchOptions& options, int threads)
{
    const std::string output = Values(args, "/Summary=").back();
    const std::vector<std::string> inputs = SummaryInputs(args);
    if (inputs.empty()) {
        std::fprintf(stderr, "No chromatograms to summarise: give /SummaryOf=<file or folder>.\n");
        return kExitNothingToDo;
    }
    CMultiSummaryResultData result;
    std::atomic<bool> running{true};
    const CMultiSummaryRunStats stats = RunMultiSummary(inputs, options, result, running, {}, threads);
    if (stats.PeaksExamined == 0) {
        ShowMessage("The selected chromatograms have no peaks");
        return kExitNothingToDo;
    }
    CReportTable table;
    PrepareMultiSummaryTable(table);
    FillMultiSummaryTable(result, options, table);
    if (!WriteMultiSummaryCsv(output, options, table))
        return kExitReportFailed;
    std::fprintf(stderr, "%d of %zu files read, %d peak groups; summary written to %s\n", stats.FilesRead,
                 inputs.size(), result.GroupCount(), output.c_str());
    return kExitOk;
}

} // namespace corvelin
