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

CSearchJobSearch SearchForJob(const CSearchRequest& request, std::atomic<bool>& running, CJobSink& out,
                              const CLibrarySearchCallbacks& also)
{
    CSearchJobSearch search;
    CNotingSink sink(out, search.Outcome);
    CSearchSession& session = search.Session;
    session.UnknownPath = request.UnknownPath;
    if (!request.LibraryFolder.empty())
        session.LibraryFolder = request.LibraryFolder;
    session.SaveAfterBatch = request.Save;
    session.PrintAfterBatch = request.Print;
    session.Threads = request.Threads;
    if (!session.PrepareLibraryFolder()) {
        // The desktop page would refuse too; unattended, the root folder is never what was meant.
        sink.Note("No library folder: give /Library=<folder> (or set LastFolder of section LibrarySearch).");
        search.Outcome.Fail(JobFailure::NothingToDo);
        return search;
    }
    // A folder that is not there would give an empty report that looks like an empty library.
    if (const std::string problem = LibraryFolderProblem(session.LibraryFolder); !problem.empty()) {
        sink.Note(problem + " No search was run and no report written.");
        search.Outcome.Fail(JobFailure::NothingToDo);
        return search;
    }

    CReportTable& hits = search.Hits;
    SetUpHitListColumns(hits);
    CLibrarySearchCallbacks callbacks = also;
    callbacks.ProgressRange = [&](int range) {
        sink.ProgressRange(range);
        if (also.ProgressRange)
            also.ProgressRange(range);
    };
    callbacks.Row = [&](std::vector<std::string> cells) {
        sink.ProgressStep();
        if (also.Row)
            also.Row(std::move(cells));
    };
    const CLibrarySearchResult& result = search.Result = session.RunIntoHitList(
        request.Options, running, hits, callbacks, [](const std::string& s) { return static_cast<int>(s.size()) * 7; });
    sink.ProgressDone();
    search.Searched = true;

    if (result.End == LibrarySearchEnd::UnknownTooManyPeaks)
        sink.Note(FormatC("%s\nThe limit is MaxPeaks = %d. Raise \"Max. Peaks:\" in the program options of the "
                          "desktop program, or leave out small peaks with /MinArea=<percent>.",
                          result.FailureText.c_str(), session.MaxPeaks));
    if (hits.RowCount() == 0)
        sink.Note(hits.EmptyText());
    else
        sink.Output(FormatAlignedTable(hits));
    sink.FlushOutput();

    search.Outcome.Fail(SearchFailure(result.End));
    search.Report = session.Report(result.Unknown.SampleName, result.Unknown.PeakCountText);
    if (result.End == LibrarySearchEnd::Stopped) {
        search.Report.StoppedLine = StoppedSearchLine(result.RowCount, result.EntryCount);
        sink.Note(search.Report.StoppedLine + ".");
    }
    return search;
}

CJobOutcome EndSearchJob(CSearchJobSearch& search, const CSearchRequest& request, const std::function<void()>& print,
                         CJobSink& out)
{
    CJobOutcome& outcome = search.Outcome;
    if (!search.Searched)
        return outcome;
    const CJobOutcome end =
        EndBatchSearch(search.Session, search.Report, request.Options, search.Hits, print, out, request.Out);
    outcome.Messages.insert(outcome.Messages.end(), end.Messages.begin(), end.Messages.end());
    outcome.FilesWritten = end.FilesWritten;
    outcome.Fail(end.Failure);
    return outcome;
}

CJobOutcome Run(const CSearchRequest& request, std::atomic<bool>& running, CJobSink& out)
{
    CSearchJobSearch search = SearchForJob(request, running, out);
    CNotingSink sink(out, search.Outcome);
    return EndSearchJob(
        search, request,
        [&] { sink.Note("/Print: printing needs the desktop program (corvelinscope); nothing was printed."); }, out);
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
