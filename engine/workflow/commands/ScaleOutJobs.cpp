#include "engine/workflow/commands/ScaleOutJobs.h"

#include <ctime>
#include <filesystem>
#include <system_error>

#include "engine/platform/CFormat.h"
#include "engine/scaleout/ShardMerge.h"
#include "engine/scaleout/ShardOutput.h"
#include "engine/scaleout/UnknownList.h"
#include "engine/scaleout/UnknownsSearch.h"
#include "engine/table/AlignedTableText.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/LibraryFolderCheck.h"
#include "engine/workflow/SearchSession.h"
#include "engine/workflow/commands/NotingSink.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

int Measure(const std::string& text)
{
    return static_cast<int>(text.size()) * 7;
}

// The folder /Out= names for many outputs, created when missing; false with a note when it cannot be.
bool PrepareOutFolder(const std::string& folder, CJobSink& sink)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder, ec))
        return true;
    sink.Note("/Out=" + folder + ": the folder cannot be created.");
    return false;
}

// Where a report goes: /Out=<file> for a single report; a file of the report's own name (the name rule of
// WriteSearchReport) inside /Out=<folder> for several, or when /Out= is a folder or ends with "/"; next to the
// unknown without /Out=.
bool WriteReport(const CSearchReport& report, const std::string& text, const std::string& out, bool outIsFolder,
                 CJobOutcome& outcome, CJobSink& sink)
{
    std::string path = out;
    bool written;
    if (out.empty()) {
        written = WriteSearchReportText(report, text, &path);
    } else {
        if (outIsFolder)
            path = (fs::path(out) / fs::path(SearchReportFileName(report.UnknownPath, std::time(nullptr))).filename())
                       .string();
        written = WriteSearchReportTextTo(path, text);
    }
    if (written) {
        outcome.FilesWritten.push_back(path);
        sink.Note("Report written to " + path);
    }
    return written;
}

struct ScaleOutSetup {
    CSearchSession Session;
    CUnknownsSearchRequest Search;
    bool Many = false; // /Unknowns= given: /Out= names a folder
};

// The library folder, the unknowns and the shard; false with the note when they do not do.
bool Prepare(const CUnknownsRequest& request, ScaleOutSetup& setup, CJobSink& sink)
{
    CSearchSession& session = setup.Session;
    if (!request.LibraryFolder.empty())
        session.LibraryFolder = request.LibraryFolder;
    session.SaveAfterBatch = request.Save;
    session.PrintAfterBatch = request.Print;
    if (!session.PrepareLibraryFolder()) {
        sink.Note("No library folder: give /Library=<folder> (or set LastFolder of section LibrarySearch).");
        return false;
    }
    if (const std::string problem = LibraryFolderProblem(session.LibraryFolder); !problem.empty()) {
        sink.Note(problem + " No search was run and nothing written.");
        return false;
    }
    CUnknownsSearchRequest& search = setup.Search;
    setup.Many = !request.Lists.empty();
    for (const std::string& list : request.Lists) {
        try {
            for (std::string& path : UnknownsOf(list))
                search.UnknownPaths.push_back(std::move(path));
        } catch (const CUserException& e) {
            sink.Note(e.what());
            return false;
        }
    }
    if (!setup.Many)
        search.UnknownPaths.push_back(request.UnknownPath);
    if (search.UnknownPaths.empty()) {
        sink.Note("/Unknowns= names no unknowns; nothing was searched.");
        return false;
    }
    search.LibraryFolder = session.LibraryFolder;
    search.MaxPeaks = session.MaxPeaks;
    search.Threads = request.Threads;
    if (!request.Shard.empty()) {
        search.Shard = ParseShardSpec(request.Shard).value_or(CShardSpec{});
        if (request.Out.empty()) {
            sink.Note("/Shard= needs /Out=<shard file> (a folder with /Unknowns=); nothing was searched.");
            return false;
        }
    }
    return !(setup.Many && !request.Out.empty() && !PrepareOutFolder(request.Out, sink));
}

// A shard search publishes a shard file per unknown only when the scan ran to its end.
void WriteShardFiles(const CUnknownsRequest& request, const ScaleOutSetup& setup, const CUnknownsSearchResult& result,
                     std::vector<std::vector<CShardRow>>& rows, CJobOutcome& outcome, CJobSink& sink)
{
    const CUnknownsSearchRequest& search = setup.Search;
    for (const CLibrarySearchResult& unknown : result.Unknowns)
        if (unknown.End == LibrarySearchEnd::Stopped) {
            sink.Note("Search stopped: no shard result was written.");
            outcome.Fail(JobFailure::Interrupted);
            return;
        }
    for (std::size_t u = 0; u < search.UnknownPaths.size(); ++u) {
        const std::string& unknown = search.UnknownPaths[u];
        const CLibrarySearchResult& searched = result.Unknowns[u];
        if (searched.End == LibrarySearchEnd::UnknownUnreadable ||
            searched.End == LibrarySearchEnd::UnknownBeyondBound) {
            outcome.Fail(SearchFailure(searched.End));
            continue;
        }
        const std::string file = setup.Many ? ShardFileNameFor(request.Out, unknown, search.Shard) : request.Out;
        try {
            const CShardResult shard{ShardHeaderFor(unknown, searched, search, request.Options, result.Entries),
                                     std::move(rows[u])};
            WriteShardFile(file, shard);
            outcome.FilesWritten.push_back(file);
            sink.Note(FormatC("Shard %d/%d of %s written to %s (%zu rows)", search.Shard.Index, search.Shard.Count,
                              unknown.c_str(), file.c_str(), shard.Rows.size()));
            outcome.Fail(SearchFailure(searched.End));
        } catch (const CFileException& e) {
            sink.Note(file + ": the shard result was not written (" + e.what() + ").");
            outcome.Fail(JobFailure::ReportNotWritten);
        }
    }
}

// Each unknown's report as a search of it alone writes it.
void WriteReports(const CUnknownsRequest& request, ScaleOutSetup& setup, const CUnknownsSearchResult& result,
                  std::vector<CReportTable>& tables, CJobOutcome& outcome, CJobSink& sink)
{
    CSearchSession& session = setup.Session;
    for (std::size_t u = 0; u < setup.Search.UnknownPaths.size(); ++u) {
        const CLibrarySearchResult& searched = result.Unknowns[u];
        session.UnknownPath = setup.Search.UnknownPaths[u];
        session.Finish(searched, tables[u], Measure);
        JobFailure failure = SearchFailure(searched.End);
        if (session.SavesAtBatchEnd()) {
            CSearchReport report = session.Report(searched.Unknown.SampleName, searched.Unknown.PeakCountText);
            if (searched.End == LibrarySearchEnd::Stopped)
                report.StoppedLine = StoppedSearchLine(searched.RowCount, searched.EntryCount);
            if (!WriteReport(report, SearchReportText(report, request.Options, tables[u]), request.Out, true, outcome,
                             sink) &&
                failure == JobFailure::None)
                failure = JobFailure::ReportNotWritten;
        }
        outcome.Fail(failure);
    }
    if (session.PrintsAtBatchEnd())
        sink.Note("/Print: printing needs the desktop program (corvelinscope); nothing was printed.");
    else if (!session.SavesAtBatchEnd())
        sink.Note("Your results have not been saved (/Print without /Save).");
}

} // namespace

CJobOutcome Run(const CUnknownsRequest& request, std::atomic<bool>& running, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    ScaleOutSetup setup;
    if (!Prepare(request, setup, sink)) {
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    const bool sharded = !request.Shard.empty();
    const std::size_t unknowns = setup.Search.UnknownPaths.size();
    std::vector<std::vector<CShardRow>> shardRows(unknowns);
    std::vector<CReportTable> tables(sharded ? 0 : unknowns);
    for (CReportTable& table : tables)
        SetUpHitListColumns(table);
    CLibrarySearchCallbacks progress;
    progress.ProgressRange = [&](int range) { sink.ProgressRange(range); };
    progress.Progress = [&](int) { sink.ProgressStep(); };
    const CUnknownsSearchResult result = SearchUnknowns(
        setup.Search, request.Options, running,
        [&](std::size_t u, std::size_t index, std::vector<std::string> cells) {
            if (sharded)
                shardRows[u].push_back({static_cast<long long>(index), std::move(cells)});
            else
                tables[u].AddRow(std::move(cells));
        },
        progress);
    sink.ProgressDone();
    if (request.Debug)
        sink.Note(FormatC("Library entries read: %lld for %zu unknowns (%zu entries searched of %zu)",
                          result.EntriesRead, unknowns, result.Searched.size(), result.Entries.size()));
    if (sharded)
        WriteShardFiles(request, setup, result, shardRows, outcome, sink);
    else
        WriteReports(request, setup, result, tables, outcome, sink);
    return outcome;
}

CJobOutcome Run(const CMergeRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    std::vector<CMergedSearch> merged;
    try {
        merged = MergeShardFiles(ShardFilesOf(request.Paths));
    } catch (const CShardMergeRefused& e) {
        sink.Note(std::string("Merge refused: ") + e.what() + ". No report was written.");
        outcome.Fail(JobFailure::RefusedMerge);
        return outcome;
    }
    std::error_code ec;
    const bool outIsFolder = !request.Out.empty() &&
                             (merged.size() > 1 || EndsWithSeparator(request.Out) || fs::is_directory(request.Out, ec));
    if (outIsFolder && !PrepareOutFolder(request.Out, sink)) {
        outcome.Fail(JobFailure::ReportNotWritten);
        return outcome;
    }
    for (const CMergedSearch& search : merged) {
        CReportTable hits;
        FinishMergedHitList(search, hits, Measure);
        if (merged.size() == 1) {
            sink.Output(FormatAlignedTable(hits));
            sink.FlushOutput();
        }
        const JobFailure failure = SearchFailure(MergedSearchResult(search).End);
        const bool written =
            WriteReport(MergedReport(search), MergedReportText(search, hits), request.Out, outIsFolder, outcome, sink);
        outcome.Fail(written ? failure : JobFailure::ReportNotWritten);
    }
    return outcome;
}

} // namespace corvelin
