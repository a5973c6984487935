#include "batch/ScaleOut.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "batch/ArgumentValues.h"
#include "batch/HitTablePrinter.h"
#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/scaleout/ShardMerge.h"
#include "engine/scaleout/ShardOutput.h"
#include "engine/scaleout/UnknownList.h"
#include "engine/scaleout/UnknownsSearch.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/BatchExitCode.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/LibraryFolderCheck.h"
#include "engine/workflow/SearchSession.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

int Measure(const std::string& text)
{
    return static_cast<int>(text.size()) * 7;
}

bool HasDebug(const std::vector<std::string>& args)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], "/Debug"))
            return true;
    return false;
}

// The first failing code of a list of unknowns wins; later ones do not hide it.
void Keep(int& code, int next)
{
    if (code == kExitOk)
        code = next;
}

// The folder /Out= names for many outputs, created when missing; "" with a message when it cannot be.
bool PrepareOutFolder(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder, ec))
        return true;
    std::fprintf(stderr, "/Out=%s: the folder cannot be created.\n", folder.c_str());
    return false;
}

// Where a report goes: /Out=<file> for a single report; a file of the report's own name (the name rule of
// WriteSearchReport) inside /Out=<folder> for several, or when /Out= is a folder or ends with "/"; next to the
// unknown without /Out=.
bool WriteReport(const CSearchReport& report, const std::string& text, const std::string& out, bool outIsFolder)
{
    std::string path;
    bool written;
    if (out.empty()) {
        written = WriteSearchReportText(report, text, &path);
    } else if (outIsFolder) {
        const std::string name = fs::path(SearchReportFileName(report.UnknownPath, std::time(nullptr))).filename();
        path = (fs::path(out) / name).string();
        written = WriteSearchReportTextTo(path, text);
    } else {
        path = out;
        written = WriteSearchReportTextTo(path, text);
    }
    if (written)
        std::fprintf(stderr, "Report written to %s\n", path.c_str());
    return written;
}

int RunMerge(const std::vector<std::string>& args)
{
    std::vector<CMergedSearch> merged;
    try {
        merged = MergeShardFiles(ShardFilesOf(ArgumentValues(args, "/Merge=")));
    } catch (const CShardMergeRefused& e) {
        std::fprintf(stderr, "Merge refused: %s. No report was written.\n", e.what());
        return kExitMergeRefused;
    }
    const std::string out = OutValue(args);
    std::error_code ec;
    const bool outIsFolder = !out.empty() && (merged.size() > 1 || EndsWithSeparator(out) || fs::is_directory(out, ec));
    if (outIsFolder && !PrepareOutFolder(out))
        return kExitReportFailed;
    int code = kExitOk;
    for (const CMergedSearch& search : merged) {
        CReportTable hits;
        FinishMergedHitList(search, hits, Measure);
        if (merged.size() == 1)
            std::fputs(FormatAlignedTable(hits).c_str(), stdout);
        std::fflush(stdout);
        const int searchCode = BatchSearchExitCode(MergedSearchResult(search).End);
        const bool written = WriteReport(MergedReport(search), MergedReportText(search, hits), out, outIsFolder);
        Keep(code, written ? searchCode : kExitReportFailed);
    }
    return code;
}

struct ScaleOutSetup {
    CSearchSession Session;
    CUnknownsSearchRequest Request;
    std::string Out;
    bool Many = false; // /Unknowns= given: /Out= names a folder
};

// The session's library folder, the unknowns and the shard; a message and the exit code when they do not do.
int Prepare(const std::vector<std::string>& args, const CCommandLine& line, ScaleOutSetup& setup)
{
    setup.Session.ApplyCommandLine(line);
    if (!setup.Session.PrepareLibraryFolder()) {
        std::fprintf(stderr, "No library folder: give /Library=<folder> (or set LastFolder of section "
                             "LibrarySearch).\n");
        return kExitNothingToDo;
    }
    if (const std::string problem = LibraryFolderProblem(setup.Session.LibraryFolder); !problem.empty()) {
        std::fprintf(stderr, "%s No search was run and nothing written.\n", problem.c_str());
        return kExitNothingToDo;
    }
    CUnknownsSearchRequest& request = setup.Request;
    const std::vector<std::string> lists = ArgumentValues(args, "/Unknowns=");
    setup.Many = !lists.empty();
    if (setup.Many) {
        for (const std::string& list : lists) {
            try {
                for (std::string& path : UnknownsOf(list))
                    request.UnknownPaths.push_back(std::move(path));
            } catch (const CUserException& e) {
                std::fprintf(stderr, "%s\n", e.what());
                return kExitNothingToDo;
            }
        }
        if (request.UnknownPaths.empty()) {
            std::fprintf(stderr, "/Unknowns= names no unknowns; nothing was searched.\n");
            return kExitNothingToDo;
        }
    } else if (line.IsBatchSearch()) {
        request.UnknownPaths.push_back(line.SearchFile);
    } else {
        std::fprintf(stderr, "/Shard= needs the unknowns: /Search=<file> or /Unknowns=<folder or list>.\n");
        return kExitNothingToDo;
    }
    request.LibraryFolder = setup.Session.LibraryFolder;
    request.MaxPeaks = setup.Session.MaxPeaks;
    request.Threads = setup.Session.Threads;
    const std::vector<std::string> shards = ArgumentValues(args, "/Shard=");
    if (!shards.empty()) {
        const auto shard = ParseShardSpec(shards.back());
        if (!shard) {
            std::fprintf(stderr, "/Shard=%s: not \"k/n\" with whole numbers 0 <= k < n <= %d; nothing was searched.\n",
                         shards.back().c_str(), kMaxShardCount);
            return kExitNothingToDo;
        }
        request.Shard = *shard;
    }
    setup.Out = OutValue(args);
    if (!shards.empty() && setup.Out.empty()) {
        std::fprintf(stderr, "/Shard= needs /Out=<shard file> (a folder with /Unknowns=); nothing was searched.\n");
        return kExitNothingToDo;
    }
    if (setup.Many && !setup.Out.empty() && !PrepareOutFolder(setup.Out))
        return kExitReportFailed;
    return kExitOk;
}

// A shard search publishes a shard file per unknown only when the scan ran to its end.
int WriteShardFiles(const ScaleOutSetup& setup, const CSearchOptions& options, const CUnknownsSearchResult& result,
                    std::vector<std::vector<CShardRow>>& rows)
{
    const CUnknownsSearchRequest& request = setup.Request;
    for (const CLibrarySearchResult& unknown : result.Unknowns)
        if (unknown.End == LibrarySearchEnd::Stopped) {
            std::fprintf(stderr, "Search stopped: no shard result was written.\n");
            return kExitInterrupted;
        }
    int code = kExitOk;
    for (std::size_t u = 0; u < request.UnknownPaths.size(); ++u) {
        const std::string& unknown = request.UnknownPaths[u];
        const CLibrarySearchResult& searched = result.Unknowns[u];
        if (searched.End == LibrarySearchEnd::UnknownUnreadable) {
            Keep(code, kExitUnreadable);
            continue;
        }
        const std::string file = setup.Many ? ShardFileNameFor(setup.Out, unknown, request.Shard) : setup.Out;
        try {
            CShardResult shard{ShardHeaderFor(unknown, searched, request, options, result.Entries), std::move(rows[u])};
            WriteShardFile(file, shard);
            std::fprintf(stderr, "Shard %d/%d of %s written to %s (%zu rows)\n", request.Shard.Index,
                         request.Shard.Count, unknown.c_str(), file.c_str(), shard.Rows.size());
            Keep(code, BatchSearchExitCode(searched.End));
        } catch (const CFileException& e) {
            std::fprintf(stderr, "%s: the shard result was not written (%s).\n", file.c_str(), e.what());
            Keep(code, kExitReportFailed);
        }
    }
    return code;
}

// Each unknown's report as a search of it alone writes it.
int WriteReports(ScaleOutSetup& setup, const CSearchOptions& options, const CUnknownsSearchResult& result,
                 std::vector<CReportTable>& tables)
{
    int code = kExitOk;
    for (std::size_t u = 0; u < setup.Request.UnknownPaths.size(); ++u) {
        const CLibrarySearchResult& searched = result.Unknowns[u];
        setup.Session.UnknownPath = setup.Request.UnknownPaths[u];
        setup.Session.Finish(searched, tables[u], Measure);
        int unknownCode = BatchSearchExitCode(searched.End);
        if (!setup.Session.SavesAtBatchEnd()) {
            Keep(code, unknownCode);
            continue;
        }
        CSearchReport report = setup.Session.Report(searched.Unknown.SampleName, searched.Unknown.PeakCountText);
        if (searched.End == LibrarySearchEnd::Stopped)
            report.StoppedLine = StoppedSearchLine(searched.RowCount, searched.EntryCount);
        if (!WriteReport(report, SearchReportText(report, options, tables[u]), setup.Out, true) &&
            unknownCode == kExitOk)
            unknownCode = kExitReportFailed;
        Keep(code, unknownCode);
    }
    if (setup.Session.PrintsAtBatchEnd())
        std::fprintf(stderr, "/Print: printing needs the desktop program (corvelinscope); nothing was printed.\n");
    return code;
}

} // namespace

bool IsScaleOutRequest(const std::vector<std::string>& args)
{
    return !ArgumentValues(args, "/Unknowns=").empty() || !ArgumentValues(args, "/Shard=").empty() ||
           !ArgumentValues(args, "/Merge=").empty();
}

std::string OutValue(const std::vector<std::string>& args)
{
    const std::vector<std::string> values = ArgumentValues(args, "/Out=");
    return values.empty() ? std::string() : values.back();
}

int RunScaleOut(const std::vector<std::string>& args, const CCommandLine& line, const CSearchOptions& options,
                std::atomic<bool>& running, const std::atomic<bool>& interrupted)
{
    if (!ArgumentValues(args, "/Merge=").empty())
        return RunMerge(args);

    ScaleOutSetup setup;
    if (const int code = Prepare(args, line, setup); code != kExitOk)
        return code;
    const bool sharded = !ArgumentValues(args, "/Shard=").empty();
    const std::size_t unknowns = setup.Request.UnknownPaths.size();

    std::vector<std::vector<CShardRow>> shardRows(unknowns);
    std::vector<CReportTable> tables(sharded ? 0 : unknowns);
    for (CReportTable& table : tables)
        SetUpHitListColumns(table);
    const CUnknownsSearchResult result = SearchUnknowns(
        setup.Request, options, running, [&](std::size_t u, std::size_t index, std::vector<std::string> cells) {
            if (sharded)
                shardRows[u].push_back({static_cast<long long>(index), std::move(cells)});
            else
                tables[u].AddRow(std::move(cells));
        });
    if (HasDebug(args))
        std::fprintf(stderr, "Library entries read: %lld for %zu unknowns (%zu entries searched of %zu)\n",
                     result.EntriesRead, unknowns, result.Searched.size(), result.Entries.size());

    int code =
        sharded ? WriteShardFiles(setup, options, result, shardRows) : WriteReports(setup, options, result, tables);
    if (code == kExitOk && interrupted.load())
        code = kExitInterrupted;
    return code;
}

} // namespace corvelin
