#include "engine/workflow/commands/SearchJob.h"

#include "engine/platform/CFormat.h"
#include "engine/table/AlignedTableText.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibraryFolderCheck.h"
#include "engine/workflow/SearchReport.h"
#include "engine/workflow/SearchSession.h"
#include "engine/workflow/commands/NotingSink.h"

namespace corvelin {

CJobOutcome Run(const CSearchRequest& request, std::atomic<bool>& running, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    CSearchSession session;
    session.UnknownPath = request.UnknownPath;
    if (!request.LibraryFolder.empty())
        session.LibraryFolder = request.LibraryFolder;
    session.SaveAfterBatch = request.Save;
    session.PrintAfterBatch = request.Print;
    session.Threads = request.Threads;
    if (!session.PrepareLibraryFolder()) {
        // The desktop page would refuse too; unattended, the root folder is never what was meant.
        sink.Note("No library folder: give /Library=<folder> (or set LastFolder of section LibrarySearch).");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    // A folder that is not there would give an empty report that looks like an empty library.
    if (const std::string problem = LibraryFolderProblem(session.LibraryFolder); !problem.empty()) {
        sink.Note(problem + " No search was run and no report written.");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }

    CReportTable hits;
    SetUpHitListColumns(hits);
    CLibrarySearchCallbacks callbacks;
    callbacks.ProgressRange = [&](int range) { sink.ProgressRange(range); };
    callbacks.Row = [&](const std::vector<std::string>&) { sink.ProgressStep(); };
    const CLibrarySearchResult result = session.RunIntoHitList(
        request.Options, running, hits, callbacks, [](const std::string& s) { return static_cast<int>(s.size()) * 7; });
    sink.ProgressDone();

    if (result.End == LibrarySearchEnd::UnknownTooManyPeaks)
        sink.Note(FormatC("%s\nThe limit is MaxPeaks = %d. Raise \"Max. Peaks:\" in the program options of the "
                          "desktop program, or leave out small peaks with /MinArea=<percent>.",
                          result.FailureText.c_str(), session.MaxPeaks));
    if (hits.RowCount() == 0)
        sink.Note(hits.EmptyText());
    else
        sink.Output(FormatAlignedTable(hits));
    sink.FlushOutput();

    outcome.Fail(SearchFailure(result.End));
    CSearchReport report = session.Report(result.Unknown.SampleName, result.Unknown.PeakCountText);
    if (result.End == LibrarySearchEnd::Stopped) {
        report.StoppedLine = StoppedSearchLine(result.RowCount, result.EntryCount);
        sink.Note(report.StoppedLine + ".");
    }
    const CJobOutcome end = EndBatchSearch(
        session, report, request.Options, hits,
        [&] { sink.Note("/Print: printing needs the desktop program (corvelinscope); nothing was printed."); }, out,
        request.Out);
    outcome.Messages.insert(outcome.Messages.end(), end.Messages.begin(), end.Messages.end());
    outcome.FilesWritten = end.FilesWritten;
    outcome.Fail(end.Failure);
    return outcome;
}

CJobOutcome EndBatchSearch(const CSearchSession& session, const CSearchReport& report, const CSearchOptions& options,
                           const CReportTable& hits, const std::function<void()>& print, CJobSink& out,
                           const std::string& file)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    if (session.PrintsAtBatchEnd() && print)
        print();
    if (session.SavesAtBatchEnd()) {
        std::string path = file;
        const bool written = file.empty() ? WriteSearchReport(report, options, hits, &path)
                                          : WriteSearchReportTextTo(file, SearchReportText(report, options, hits));
        if (written) {
            outcome.FilesWritten.push_back(path);
            sink.Note("Report written to " + path);
        } else {
            outcome.Fail(JobFailure::ReportNotWritten);
        }
    } else {
        sink.Note("Your results have not been saved (/Print without /Save).");
    }
    return outcome;
}

} // namespace corvelin
