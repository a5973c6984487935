// The multi-file peak summary of 100 generated runs x 400 peaks with 60-line spectra (RT and MS matching): the
// engine's run (files read in parallel, pruned grouping) against the literal transcription (files read one by
// one, every peak against every group), measured side by side in one run, with the cost of merely reading the
// files for scale. The two results must be identical. Each whole run is timed as the best of three rounds, by
// the clock and by the process's CPU time.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/SyntheticLibrary.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryGrouping.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "tests/support/LiteralMultiSummary.h"

namespace fs = std::filesystem;
using namespace corvelin;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU time of the whole process (every thread), in seconds.
double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Wall and CPU time of one measured round; Best keeps the smaller of each over the rounds.
struct Timing {
    double Wall = 1e300;
    double Cpu = 1e300;
    template <typename Work> void Best(Work&& work)
    {
        const double cpu = ProcessCpuSeconds();
        const auto start = Clock::now();
        work();
        Wall = std::min(Wall, Seconds(start));
        Cpu = std::min(Cpu, ProcessCpuSeconds() - cpu);
    }
};

std::vector<std::unique_ptr<CLibraryChromatogram>> ReadAll(const std::vector<std::string>& paths)
{
    std::vector<std::unique_ptr<CLibraryChromatogram>> out;
    for (const std::string& path : paths) {
        auto c = std::make_unique<CLibraryChromatogram>();
        if (ReadFromDataFile(*c, path, 0.0, nullptr, true) == 1)
            out.push_back(std::move(c));
    }
    return out;
}

std::string TableText(const CMultiSummaryResultData& result, const CSearchOptions& options)
{
    CReportTable table;
    PrepareMultiSummaryTable(table);
    FillMultiSummaryTable(result, options, table);
    return MultiSummaryCsvText(options, table);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100;
    const int peaks = argc > 2 ? std::atoi(argv[2]) : 400;
    const fs::path exe = fs::canonical("/proc/self/exe");
    const fs::path module =
        exe.parent_path().parent_path() / "lib" / "corvelinscope" / "plugins" / "corvelin-reader-library-entry.so";
    auto plugins = std::make_unique<CDatasystemPlugins>();
    auto plugin = std::make_unique<CDatasystemPlugin>(module.string(), true);
    plugin->Name = "Corvelinscope Library Entry";
    plugin->Extension = ".ChromLibEntry";
    plugins->Append(std::move(plugin));
    SetDatasystemPlugins(std::move(plugins));

    CSyntheticLibraryShape shape;
    shape.Entries = runs;
    shape.Peaks = peaks;
    shape.Lines = 60;
    shape.ReplicateShare = 0.5;
    shape.Seed = 11;
    const CSyntheticLibrary library(shape);
    const fs::path folder = fs::temp_directory_path() / ("corvelin-bench-summary-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::vector<std::string> paths = library.WriteLibrary(folder.string());

    CSearchOptions options;
    options.MSMatching = 1;
    options.RTMatching = 1;
    options.RIMatching = 0;
    options.RTWindowWidth = 0.05;

    std::atomic<bool> running{true};
    if (argc > 3 && std::string(argv[3]) == "engine-only") { // for profiling
        CMultiSummaryResultData engine;
        const auto start = Clock::now();
        RunMultiSummary(paths, options, engine, running);
        std::printf("engine run %.3f s, %d groups\n", Seconds(start), engine.GroupCount());
        fs::remove_all(folder);
        return 0;
    }
    Timing reading;
    std::vector<std::unique_ptr<CLibraryChromatogram>> plain;
    reading.Best([&] { plain = ReadAll(paths); });

    // The whole runs, the best of three rounds each: on a shared machine a round can lose the processor for a
    // while, which says nothing about the code. The CPU time (all threads) is the steadier figure there.
    Timing engineRun;
    Timing literalRun;
    CMultiSummaryResultData engine;
    CMultiSummaryResultData literalResult;
    for (int round = 0; round < 3; ++round) {
        engine.Clear(); // the previous round's record is freed outside the measurement
        engineRun.Best([&] { RunMultiSummary(paths, options, engine, running); });
        literalResult.Clear();
        literalRun.Best([&] { literal::GroupMultiSummary(ReadAll(paths), options, literalResult); });
    }

    // The grouping alone, on chromatograms already in memory: the best of three rounds each.
    Timing engineGrouping;
    Timing literalGrouping;
    CMultiSummaryResultData groupedEngine;
    CMultiSummaryResultData groupedLiteral;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<CLibraryChromatogram>> copiesA, copiesB;
        for (const auto& c : plain) {
            copiesA.push_back(std::make_unique<CLibraryChromatogram>(*c));
            copiesB.push_back(std::make_unique<CLibraryChromatogram>(*c));
        }
        groupedEngine.Clear();
        groupedLiteral.Clear();
        engineGrouping.Best([&] {
            CMultiSummaryGrouper grouper(groupedEngine, options);
            for (auto& c : copiesA)
                grouper.Add(std::move(c), nullptr);
            SortSummaryGroups(groupedEngine);
        });
        literalGrouping.Best([&] { literal::GroupMultiSummary(std::move(copiesB), options, groupedLiteral); });
    }

    const bool same = TableText(engine, options) == TableText(literalResult, options) &&
                      TableText(groupedEngine, options) == TableText(engine, options) &&
                      TableText(groupedLiteral, options) == TableText(engine, options);
    std::printf("multi-file summary: %d runs x %d peaks, 60-line spectra, RT (window %.2f) + MS matching, %u cores\n",
                runs, peaks, options.RTWindowWidth, std::thread::hardware_concurrency());
    std::printf("  groups found            %d\n", engine.GroupCount());
    std::printf("  reading the files only  %8.3f s  (CPU %.3f s)\n", reading.Wall, reading.Cpu);
    std::printf("  engine run              %8.3f s  (CPU %.3f s)\n", engineRun.Wall, engineRun.Cpu);
    std::printf("  literal transcription   %8.3f s  (CPU %.3f s)\n", literalRun.Wall, literalRun.Cpu);
    std::printf("  speed-up                %8.1f x  (CPU %.1f x)\n", literalRun.Wall / engineRun.Wall,
                literalRun.Cpu / engineRun.Cpu);
    std::printf("  grouping only: engine  %8.3f s (CPU %.3f s), literal %8.3f s (CPU %.3f s), speed-up %.1f x\n",
                engineGrouping.Wall, engineGrouping.Cpu, literalGrouping.Wall, literalGrouping.Cpu,
                literalGrouping.Wall / engineGrouping.Wall);
    std::printf("  results identical       %s\n", same ? "yes" : "NO");
    fs::remove_all(folder);
    SetDatasystemPlugins(nullptr);
    return same ? 0 : 1;
}
