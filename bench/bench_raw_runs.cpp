// Reads GC-MS data files through the bundled reader modules, converts each into a library entry and compares every
// run with every other one, the way a library search would (default search options: MS and RT matching).
//
//   bench_raw_runs [--repeat N] [--series-separator C] file...
//
// Prints per file the peaks found and the reading time (best of N reads), then per file the forward and reverse
// match ranges (min..max) against the runs of its own series and against the others. A run's series is its file
// name up to the first separator (default '_'), so ELEY_1.JDX ... ELEY_5.JDX form one series; the last column says
// whether the run ranks every run of its own series above all others by forward match.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/compare/CellTable.h"
#include "engine/compare/Compare.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

struct Run {
    std::string path;
    std::string series;
    CLibraryChromatogram entry;
    double bestMs = 0;
};

std::unique_ptr<CDatasystemPlugins> LoadBundledReaders()
{
    const fs::path exe = fs::canonical("/proc/self/exe");
    const fs::path dir = exe.parent_path().parent_path() / "lib" / "corvelinscope" / "plugins";
    auto plugins = std::make_unique<CDatasystemPlugins>();
    std::vector<fs::path> modules;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".so")
            modules.push_back(e.path());
    std::sort(modules.begin(), modules.end());
    for (const auto& m : modules) {
        auto plugin = std::make_unique<CDatasystemPlugin>(m.string());
        plugin->Name = m.stem().string(); // empty Extension: IsFileReadable decides
        plugins->Append(std::move(plugin));
    }
    return plugins;
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 3;
    char separator = '_';
    std::vector<Run> runs;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--series-separator") && i + 1 < argc) {
            separator = argv[++i][0];
        } else {
            Run r;
            r.path = argv[i];
            const std::string name = fs::path(r.path).filename().string();
            r.series = name.substr(0, name.find(separator));
            runs.push_back(std::move(r));
        }
    }
    if (runs.empty()) {
        std::fprintf(stderr, "usage: bench_raw_runs [--repeat N] [--series-separator C] file...\n");
        return 2;
    }
    const auto plugins = LoadBundledReaders();
    const fs::path tmp = fs::temp_directory_path() / ("bench_raw_runs_" + std::to_string(::getpid()));
    fs::create_directories(tmp);

    std::printf("%-40s %6s %10s\n", "run", "peaks", "read ms");
    for (Run& r : runs) {
        r.bestMs = 1e300;
        for (int k = 0; k < repeat; ++k) {
            CLibraryChromatogram c;
            const auto t0 = std::chrono::steady_clock::now();
            const int ok = ReadFromDataFile(*plugins, c, r.path, 0.0, nullptr, false);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            if (ok != 1) {
                std::fprintf(stderr, "%s: not read\n", r.path.c_str());
                return 1;
            }
            r.bestMs = std::min(r.bestMs, ms);
            if (k == 0) {
                // The conversion: RI from the (empty) current table, written as an entry and read back.
                c.Recalibrate(CSearchOptions().RICalibration());
                const std::string entry = (tmp / (fs::path(r.path).stem().string() + ".ChromLibEntry")).string();
                c.SaveEntry(entry);
                if (!r.entry.LoadEntry(entry)) {
                    std::fprintf(stderr, "%s: entry not read back\n", entry.c_str());
                    return 1;
                }
            }
        }
        std::printf("%-40s %6d %10.1f\n", fs::path(r.path).filename().c_str(), r.entry.PeakCount, r.bestMs);
    }

    const CSearchOptions options;
    int separated = 0;
    std::printf("\n%-28s %-13s %-13s %-13s %-13s %s\n", "unknown", "own fwd", "own rev", "other fwd", "other rev",
                "own series ranked first");
    for (const Run& u : runs) {
        struct Hit {
            const Run* run;
            double fwd, rev;
        };
        std::vector<Hit> hits;
        for (const Run& e : runs) {
            if (&e == &u)
                continue;
            CCellTable cells(static_cast<std::size_t>(std::max(u.entry.PeakCount, e.entry.PeakCount)),
                             static_cast<std::size_t>(std::max(u.entry.PeakCount, e.entry.PeakCount)));
            CLibraryHit hit, reverse;
            const double fwd = CompareChromatograms(u.entry, e.entry, options, &hit, &cells);
            cells.Reset(static_cast<std::size_t>(std::max(u.entry.PeakCount, e.entry.PeakCount)));
            const double rev = CompareChromatograms(e.entry, u.entry, options, &reverse, &cells);
            hits.push_back({&e, fwd, rev});
        }
        std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.fwd > b.fwd; });
        double ownFwd[2] = {1e9, -1e9}, ownRev[2] = {1e9, -1e9}, othFwd[2] = {1e9, -1e9}, othRev[2] = {1e9, -1e9};
        std::size_t own = 0;
        for (const Hit& h : hits) {
            const bool same = h.run->series == u.series;
            own += same;
            double* f = same ? ownFwd : othFwd;
            double* r = same ? ownRev : othRev;
            f[0] = std::min(f[0], h.fwd), f[1] = std::max(f[1], h.fwd);
            r[0] = std::min(r[0], h.rev), r[1] = std::max(r[1], h.rev);
        }
        bool first = true;
        for (std::size_t k = 0; k < hits.size(); ++k)
            first = first && ((k < own) == (hits[k].run->series == u.series));
        separated += first;
        std::printf("%-28s %.3f..%.3f  %.3f..%.3f  %.3f..%.3f  %.3f..%.3f  %s\n", fs::path(u.path).filename().c_str(),
                    ownFwd[0], ownFwd[1], ownRev[0], ownRev[1], othFwd[0], othFwd[1], othRev[0], othRev[1],
                    first ? "yes" : "NO");
    }
    std::printf("\n%d of %zu runs rank their own series first (by forward match)\n", separated, runs.size());
    fs::remove_all(tmp);
    return 0;
}
