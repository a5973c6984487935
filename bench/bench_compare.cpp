// One Compare of two 200-peak chromatograms with 150-line spectra (RT, MS and RI matching, one-to-one, with a
// cell table): the engine against the literal transcription of the documented algorithm, in one run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include "engine/compare/CellTable.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "tests/support/LiteralCompare.h"
#include "tests/support/SyntheticChromatogram.h"

using namespace corvelin;

namespace {

using Clock = std::chrono::steady_clock;

// Best of several batches, in microseconds per call; each batch runs at least minBatch seconds.
double MicrosecondsPerCall(const std::function<void()>& call, double minBatch)
{
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        int calls = 0;
        const auto start = Clock::now();
        double elapsed = 0;
        do {
            call();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < minBatch);
        best = std::min(best, elapsed * 1e6 / calls);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const double minBatch = argc > 1 ? std::atof(argv[1]) : 0.2;
    const auto self = MakeSyntheticChromatogram(CSyntheticShape{200, 150, 2.0, 42.0, true}, 1);
    const auto other = MakeSyntheticVariant(*self, 2, 0.05, 10);

    CSearchOptions options;
    options.MSMatching = 1;
    options.RTMatching = 1;
    options.RIMatching = 1;
    options.MultipleMatching = 0;
    options.RTWindowWidth = 0.1;
    options.RIWindowWidth = 15;

    CCellTable shippedTable(200, 200), literalTable(200, 200);
    CLibraryHit shippedHit, literalHit;
    double shippedResult = 0, literalResult = 0;
    const double shipped = MicrosecondsPerCall(
        [&] {
            shippedTable.Reset(200);
            shippedResult = self->Compare(*other, options, shippedHit, &shippedTable);
        },
        minBatch);
    const double literalTime = MicrosecondsPerCall(
        [&] {
            literalTable.Reset(200);
            literalResult = literal::Compare(*self, *other, options, &literalHit, &literalTable);
        },
        minBatch);

    const bool same = shippedResult == literalResult && shippedHit == literalHit && shippedTable == literalTable;
    std::printf("Compare, 200 x 200 peaks, 150-line spectra, RT+MS+RI, one-to-one, with table\n");
    std::printf("  overall %.6f, matched %d of %d; results identical to the literal transcription: %s\n", shippedResult,
                shippedHit.MatchedPeaks, shippedHit.ConsideredPeaks, same ? "yes" : "NO");
    std::printf("  shipped: %10.1f us per Compare\n", shipped);
    std::printf("  literal: %10.1f us per Compare\n", literalTime);
    std::printf("  ratio:   %10.1f x\n", literalTime / shipped);
    return same ? 0 : 1;
}
