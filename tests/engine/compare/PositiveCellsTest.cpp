// The resolution from positive cells without sorting them (few and many cells per row) against the sorted
// greedy one, on random cells with many ties.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <limits>
#include <random>
#include <vector>

#include "engine/compare/PositiveCells.h"
#include "engine/options/SearchOptions.h"

using namespace corvelin;

TEST(CompareRowBestResolution, GivesTheSortedGreedyWinnersOnRandomCells)
{
    std::mt19937_64 rng(27);
    CSearchOptions options;        // one-to-one
    CRowBestResolution resolution; // reused: its scratch memory carries over from call to call
    for (int round = 0; round < 3000; ++round) {
        const int rows = 1 + static_cast<int>(rng() % 40);
        const int columns = 1 + static_cast<int>(rng() % 40);
        // From a handful of cells per row (a retention window) to nearly all of them.
        const double density = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
        const double fill = density < 0.7 ? density * 0.2 : density;
        // Few distinct values make ties common; now and then an infinite one.
        const int levels = round % 3 == 0 ? 3 : round % 3 == 1 ? 20 : 1 << 30;
        std::vector<CPositiveCell> positives;
        std::vector<double> rowLargest(static_cast<std::size_t>(rows), 0.0);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j) {
                if (std::uniform_real_distribution<double>(0.0, 1.0)(rng) >= fill)
                    continue;
                double v = (1.0 + static_cast<double>(rng() % static_cast<unsigned>(levels))) / levels;
                if (rng() % 200 == 0)
                    v = std::numeric_limits<double>::infinity();
                positives.emplace_back(v, i, j);
                rowLargest[static_cast<std::size_t>(i)] = std::max(rowLargest[static_cast<std::size_t>(i)], v);
            }
        if (rng() % 2)
            std::shuffle(positives.begin(), positives.end(), rng);
        std::vector<char> inRange(static_cast<std::size_t>(rows), 1);
        for (auto& r : inRange)
            r = rng() % 8 != 0;

        std::vector<CPositiveCell> sorted = positives;
        std::vector<double> winner;
        std::vector<char> columnTaken(static_cast<std::size_t>(columns), 0);
        const CResolvedPairs expected = ResolvePositiveCells(options, sorted, rowLargest, inRange, winner, columnTaken);
        const CResolvedPairs got = resolution.Resolve(options, positives, rowLargest, inRange, columns);
        ASSERT_EQ(got.Matched, expected.Matched) << "round " << round;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(got.Total), std::bit_cast<std::uint64_t>(expected.Total))
            << "round " << round;

        // The same run resolved the transposed cells (ties broken column by column).
        ASSERT_TRUE(resolution.Transposable());
        std::vector<CPositiveCell> transposed;
        std::vector<double> columnLargest(static_cast<std::size_t>(columns), 0.0);
        for (const CPositiveCell& c : positives)
            transposed.emplace_back(c.Value(), c.Column(), c.Row());
        std::vector<char> columnInRange(static_cast<std::size_t>(columns), 1);
        for (auto& r : columnInRange)
            r = rng() % 8 != 0;
        std::vector<char> rowTaken(static_cast<std::size_t>(rows), 0);
        const CResolvedPairs expectedTransposed =
            ResolvePositiveCells(options, transposed, columnLargest, columnInRange, winner, rowTaken);
        const CResolvedPairs gotTransposed = resolution.Transposed(columnInRange);
        ASSERT_EQ(gotTransposed.Matched, expectedTransposed.Matched) << "round " << round;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(gotTransposed.Total),
                  std::bit_cast<std::uint64_t>(expectedTransposed.Total))
            << "round " << round;
    }
}
