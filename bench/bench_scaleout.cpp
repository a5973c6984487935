// Beyond one search: (a) 20 unknowns searched one by one (each search lists, reads and decodes the whole
// library) against one many-unknowns pass (each entry read and decoded once for all of them); (b) one search
// against 4 library shards, their shard result files and the merge into the same report (checked equal). The
// shards run one after another here; on a cluster they run side by side, so the longest shard plus the merge is
// what the user waits for. All figures come from one run. Default: 2000 entries of 100 peaks, 60-line spectra.
//
//   bench_scaleout [entries] [peaks] [unknowns]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "bench/SyntheticLibrary.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/scaleout/ShardMerge.h"
#include "engine/scaleout/ShardOutput.h"
#include "engine/scaleout/UnknownsSearch.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/SearchReport.h"
#include "tests/support/ScopedEntryReader.h"

namespace fs = std::filesystem;

using namespace corvelin;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The report text of one search of the unknown alone, as the batch program writes it.
std::string OneSearchReport(const std::string& unknown, const std::string& library, const CSearchOptions& options)
{
    CReportTable hits;
    SetUpHitListColumns(hits);
    std::atomic<bool> running{true};
    const CLibrarySearchResult result = SearchLibraryIntoHitList({unknown, library, 200, 0}, options, running, hits);
    CSearchReport report{unknown, result.Unknown.SampleName, result.Unknown.PeakCountText, library, ""};
    return SearchReportText(report, options, hits);
}

} // namespace

int main(int argc, char** argv)
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int peaks = argc > 2 ? std::atoi(argv[2]) : 100;
    const int unknownCount = argc > 3 ? std::atoi(argv[3]) : 20;
    const fs::path exe = fs::canonical("/proc/self/exe");
    const ScopedEntryReader reader(
        (exe.parent_path().parent_path() / "lib" / "corvelinscope" / "plugins" / "corvelin-reader-library-entry.so")
            .string());

    CSyntheticLibraryShape shape;
    shape.Entries = entries;
    shape.Peaks = peaks;
    shape.Subfolders = 4;
    const fs::path dir = fs::temp_directory_path() / ("corvelin-bench-scaleout-" + std::to_string(::getpid()));
    const std::string library = (dir / "library").string() + "/";
    const CSyntheticLibrary synthetic(shape);
    synthetic.WriteLibrary(library);
    std::vector<std::string> unknowns;
    for (int u = 0; u < unknownCount; ++u) {
        unknowns.push_back((dir / ("unknown" + std::to_string(u) + ".ChromLibEntry")).string());
        synthetic.MakeReplicate(u * 37 % entries, 1000 + u)->SaveEntry(unknowns.back());
    }
    CSearchOptions options;
    options.SearchSubfolders = 1;
    options.RIMatching = 1;
    std::printf("library: %d entries of %d peaks (60-line spectra) in 4 subfolders; %d unknowns; %u cores\n", entries,
                peaks, unknownCount, std::thread::hardware_concurrency());

    // (a) one by one against one pass.
    auto start = Clock::now();
    std::vector<std::string> alone;
    for (const std::string& unknown : unknowns)
        alone.push_back(OneSearchReport(unknown, library, options));
    const double oneByOne = Seconds(start);

    start = Clock::now();
    CUnknownsSearchRequest request;
    request.UnknownPaths = unknowns;
    request.LibraryFolder = library;
    std::vector<CReportTable> tables(unknowns.size());
    for (CReportTable& table : tables)
        SetUpHitListColumns(table);
    std::atomic<bool> running{true};
    const CUnknownsSearchResult pass =
        SearchUnknowns(request, options, running, [&](std::size_t u, std::size_t, std::vector<std::string> cells) {
            tables[u].AddRow(std::move(cells));
        });
    bool same = true;
    for (std::size_t u = 0; u < unknowns.size(); ++u) {
        FinishHitList(pass.Unknowns[u], unknowns[u], tables[u], {});
        CSearchReport report{unknowns[u], pass.Unknowns[u].Unknown.SampleName, pass.Unknowns[u].Unknown.PeakCountText,
                             library, ""};
        same = same && SearchReportText(report, options, tables[u]) == alone[u];
    }
    const double onePass = Seconds(start);
    std::printf("\n(a) %d unknowns        one by one  one pass   ratio   entries read (one pass)\n", unknownCount);
    std::printf("    seconds            %9.2f  %9.2f  %5.2fx   %lld of %zu (each once)   reports equal: %s\n", oneByOne,
                onePass, oneByOne / onePass, pass.EntriesRead, pass.Entries.size(), same ? "yes" : "NO");

    // (b) one search against 4 shards and the merge.
    const std::string& unknown = unknowns.front();
    start = Clock::now();
    const std::string whole = OneSearchReport(unknown, library, options);
    const double oneSearch = Seconds(start);
    double shardSum = 0;
    double shardMax = 0;
    std::vector<std::string> files;
    for (int k = 0; k < 4; ++k) {
        start = Clock::now();
        CUnknownsSearchRequest shardRequest;
        shardRequest.UnknownPaths = {unknown};
        shardRequest.LibraryFolder = library;
        shardRequest.Shard = {k, 4};
        CShardResult shard;
        std::atomic<bool> shardRunning{true};
        const CUnknownsSearchResult result = SearchUnknowns(
            shardRequest, options, shardRunning, [&](std::size_t, std::size_t index, std::vector<std::string> cells) {
                shard.Rows.push_back({static_cast<long long>(index), std::move(cells)});
            });
        shard.Header = ShardHeaderFor(unknown, result.Unknowns[0], shardRequest, options, result.Entries);
        files.push_back((dir / ("shard-" + std::to_string(k))).string());
        WriteShardFile(files.back(), shard);
        const double t = Seconds(start);
        shardSum += t;
        shardMax = std::max(shardMax, t);
    }
    start = Clock::now();
    const std::vector<CMergedSearch> merged = MergeShardFiles(files);
    CReportTable hits;
    FinishMergedHitList(merged[0], hits);
    const bool mergedSame = MergedReportText(merged[0], hits) == whole;
    const double merge = Seconds(start);
    std::printf("\n(b) 1 unknown          one search  4 shards (sum)  longest shard + merge   merge alone\n");
    std::printf("    seconds            %9.2f  %14.2f  %21.2f   %11.3f\n", oneSearch, shardSum, shardMax + merge,
                merge);
    std::printf("    ratio to one search           %14.2fx %20.2fx   report equal: %s\n", shardSum / oneSearch,
                (shardMax + merge) / oneSearch, mergedSame ? "yes" : "NO");

    fs::remove_all(dir);
    return same && mergedSame ? 0 : 1;
}
