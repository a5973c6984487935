#include "engine/workflow/commands/SummaryJob.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "engine/workflow/commands/NotingSink.h"

namespace corvelin {

std::vector<std::string> SummaryInputs(const std::vector<std::string>& given)
{
    std::vector<std::string> paths;
    const auto add = [&](const std::string& path) {
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(path);
    };
    for (const std::string& value : given) {
        std::error_code ec;
        if (!std::filesystem::is_directory(value, ec)) {
            add(value);
            continue;
        }
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(value, ec))
            if (entry.is_regular_file(ec) && DatasystemPlugins().AnyMatchesExtension(entry.path().filename().string()))
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            add(file);
    }
    return paths;
}

CJobOutcome Run(const CSummaryRequest& request, std::atomic<bool>& running, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    const std::vector<std::string> inputs = SummaryInputs(request.Inputs);
    if (inputs.empty()) {
        sink.Note("No chromatograms to summarise: give /SummaryOf=<file or folder>.");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    CMultiSummaryResultData result;
    const CMultiSummaryRunStats stats = RunMultiSummary(inputs, request.Options, result, running, {}, request.Threads);
    if (stats.PeaksExamined == 0) {
        ShowMessage("The selected chromatograms have no peaks");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    CReportTable table;
    PrepareMultiSummaryTable(table);
    FillMultiSummaryTable(result, request.Options, table);
    if (!WriteMultiSummaryCsv(request.Output, request.Options, table)) {
        outcome.Fail(JobFailure::ReportNotWritten);
        return outcome;
    }
    outcome.FilesWritten.push_back(request.Output);
    sink.Note(FormatC("%d of %zu files read, %d peak groups; summary written to %s", stats.FilesRead, inputs.size(),
                      result.GroupCount(), request.Output.c_str()));
    return outcome;
}

} // namespace corvelin
