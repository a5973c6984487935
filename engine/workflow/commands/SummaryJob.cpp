#include "engine/workflow/commands/SummaryJob.h"

#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "engine/views/SummaryInputs.h"
#include "engine/workflow/commands/NotingSink.h"

namespace corvelin {

namespace {

bool AnyPluginReads(const std::string& path)
{
    return DatasystemPlugins().AnyMatchesExtension(path);
}

} // namespace

std::vector<std::string> SummaryInputs(const std::vector<std::string>& given)
{
    return ResolveSummaryInputs(given, AnyPluginReads).Paths;
}

CJobOutcome Run(const CSummaryRequest& request, std::atomic<bool>& running, CJobSink& out)
{
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while the CSV is written leaves no temporary file
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    const CSummaryInputs resolved = ResolveSummaryInputs(request.Inputs, AnyPluginReads);
    const std::vector<std::string>& inputs = resolved.Paths;
    for (const CSummaryLeftOut& left : resolved.LeftOut)
        sink.Note(FormatC("Left out %s: %s.", left.Path.c_str(), left.Reason.c_str()));
    if (IsOneOfTheFiles(request.Output, inputs)) {
        sink.Note(
            FormatC("The summary %s would replace one of its inputs; nothing was written.", request.Output.c_str()));
        outcome.Fail(JobFailure::ReportNotWritten);
        return outcome;
    }
    if (inputs.empty()) {
        if (resolved.LeftOut.empty())
            sink.Note("No chromatograms to summarise: give /SummaryOf=<file or folder>.");
        outcome.Fail(resolved.LeftOut.empty() ? JobFailure::NothingToDo : JobFailure::Unreadable);
        return outcome;
    }
    CMultiSummaryResultData result;
    const CMultiSummaryRunStats stats = RunMultiSummary(inputs, request.Options, result, running, {}, request.Threads);
    for (const std::string& failed : stats.FailedPaths)
        sink.Note(FormatC("Left out %s: it could not be read.", failed.c_str()));
    if (stats.FilesRead == 0 && !stats.Stopped) {
        outcome.Fail(JobFailure::Unreadable);
        return outcome;
    }
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
