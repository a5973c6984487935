// The multi-file peak summary of 100 generated runs x 400 peaks with 60-line spectra (RT and MS matching): the
// engine's run (files read in parallel, pruned grouping) against the literal transcription (files read one by
// one, every peak against every group), measured side by side in one run, with the cost of merely reading the
// files for scale. The two results must be identical.
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

    if (argc > 3 && std::string(argv[3]) == "engine-only") { // for profiling
        CMultiSummaryResultData engine;
        const auto start = Clock::now();
        RunMultiSummary(paths, options, engine);
        std::printf("engine run %.3f s, %d groups\n", Seconds(start), engine.GroupCount());
        fs::remove_all(folder);
        return 0;
    }
    auto start = Clock::now();
    const auto plain = ReadAll(paths);
    const double readOnly = Seconds(start);

    start = Clock::now();
    CMultiSummaryResultData engine;
    RunMultiSummary(paths, options, engine);
    const double engineTime = Seconds(start);

    start = Clock::now();
    CMultiSummaryResultData literalResult;
    literal::GroupMultiSummary(ReadAll(paths), options, literalResult);
    const double literalTime = Seconds(start);

    // The grouping alone, on chromatograms already in memory: the best of three rounds each.
    double engineGrouping = 1e300;
    double literalGrouping = 1e300;
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
        start = Clock::now();
        {
            CMultiSummaryGrouper grouper(groupedEngine, options);
            for (auto& c : copiesA)
                grouper.Add(std::move(c), nullptr);
            SortSummaryGroups(groupedEngine);
        }
        engineGrouping = std::min(engineGrouping, Seconds(start));
        start = Clock::now();
        literal::GroupMultiSummary(std::move(copiesB), options, groupedLiteral);
        literalGrouping = std::min(literalGrouping, Seconds(start));
    }

    const bool same = TableText(engine, options) == TableText(literalResult, options) &&
                      TableText(groupedEngine, options) == TableText(engine, options) &&
                      TableText(groupedLiteral, options) == TableText(engine, options);
    std::printf("multi-file summary: %d runs x %d peaks, 60-line spectra, RT (window %.2f) + MS matching, %u cores\n",
                runs, peaks, options.RTWindowWidth, std::thread::hardware_concurrency());
    std::printf("  groups found            %d\n", engine.GroupCount());
    std::printf("  reading the files only  %8.3f s\n", readOnly);
    std::printf("  engine run              %8.3f s\n", engineTime);
    std::printf("  literal transcription   %8.3f s\n", literalTime);
    std::printf("  speed-up                %8.1f x\n", literalTime / engineTime);
    std::printf("  grouping only: engine  %8.3f s, literal %8.3f s, speed-up %.1f x\n", engineGrouping, literalGrouping,
                literalGrouping / engineGrouping);
    std::printf("  results identical       %s\n", same ? "yes" : "NO");
    fs::remove_all(folder);
    SetDatasystemPlugins(nullptr);
    return same ? 0 : 1;
}
