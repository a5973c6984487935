// Resolution of pair-value tables: multiple matching, the one-to-one greedy assignment, and a randomised
// differential test of the engine's sorted resolution against the literal iterative one.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <iterator>
#include <limits>
#include <cstdint>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/compare/CellTableResolution.h"
#include "engine/options/SearchOptions.h"
#include "tests/support/LiteralCompare.h"

using namespace corvelin;

namespace {

CCellTable MakeTable(const std::vector<std::vector<double>>& rows)
{
    CCellTable t(rows.size(), rows.empty() ? 0 : rows[0].size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            t(i, j) = rows[i][j];
    return t;
}

// Bit patterns, so that -0 and +0 (and NaN) count as different cells.
std::vector<std::uint64_t> Bits(const CCellTable& t)
{
    std::vector<std::uint64_t> out;
    for (std::size_t i = 0; i < t.Rows(); ++i)
        for (std::size_t j = 0; j < t.Columns(); ++j)
            out.push_back(std::bit_cast<std::uint64_t>(t(i, j)));
    return out;
}

std::string Dump(const CCellTable& t)
{
    std::ostringstream s;
    for (std::size_t i = 0; i < t.Rows(); ++i) {
        for (std::size_t j = 0; j < t.Columns(); ++j)
            s << t(i, j) << ' ';
        s << '\n';
    }
    return s.str();
}

CSearchOptions Mode(bool multiple)
{
    CSearchOptions o;
    o.MultipleMatching = multiple ? 1 : 0;
    return o;
}

TEST(ResolveCellTable, TwoRowsCompetingForOneColumn)
{
    // Both rows prefer column 0; row 1 is better.
    CCellTable multiple = MakeTable({{0.8, 0.3, 0.0}, {0.9, 0.0, 0.1}});
    CCellTable oneToOne = multiple;
    ResolveCellTable(Mode(true), multiple, 2, 3);
    EXPECT_EQ(multiple, MakeTable({{0.8, -1, -1}, {0.9, -1, -1}}));
    ResolveCellTable(Mode(false), oneToOne, 2, 3);
    // Row 1 keeps column 0, row 0 gets its next-best free partner.
    EXPECT_EQ(oneToOne, MakeTable({{0, 0.3, 0}, {0.9, 0, 0}}));
}

TEST(ResolveCellTable, TieGoesToTheEarlierRow)
{
    CCellTable t = MakeTable({{0.5, 0.0}, {0.5, 0.0}});
    ResolveCellTable(Mode(false), t, 2, 2);
    EXPECT_EQ(t(0, 0), 0.5);
    EXPECT_EQ(t(1, 0), 0);
    // Row 1 has only zeros left: the greedy takes the zero at (1, 1) as its last winner, sign flipped.
    EXPECT_EQ(t(1, 1), 0);
    EXPECT_TRUE(std::signbit(t(1, 1)));
    EXPECT_EQ(t(0, 1), 0);
    EXPECT_FALSE(std::signbit(t(0, 1)));
}

TEST(ResolveCellTable, MultipleMatchingKeepsTheFirstOfEqualCells)
{
    CCellTable t = MakeTable({{0.2, 0.7, 0.7}, {-2, -2, -2}, {0, 0, 0}});
    ResolveCellTable(Mode(true), t, 3, 3);
    EXPECT_EQ(t, MakeTable({{-1, 0.7, -1}, {-1, -1, -1}, {0, -1, -1}}));
}

TEST(ResolveCellTable, OneToOneTurnsSkippedRowsIntoZeros)
{
    CCellTable t = MakeTable({{-2, -2}, {0.3, 0.6}});
    ResolveCellTable(Mode(false), t, 2, 2);
    EXPECT_EQ(t, MakeTable({{0, 0}, {0, 0.6}}));
}

TEST(ResolveCellTable, OnlyTheGivenBlockIsResolved)
{
    CCellTable t = MakeTable({{0.5, 0.9}, {0.4, -2}});
    ResolveCellTable(Mode(false), t, 1, 1);
    EXPECT_EQ(t, MakeTable({{0.5, 0.9}, {0.4, -2}}));
    EXPECT_THROW(ResolveCellTable(Mode(false), t, 3, 1), CInvalidArgumentException);
    EXPECT_THROW(ResolveCellTable(Mode(true), t, 1, 3), CInvalidArgumentException);
    EXPECT_THROW(ResolveCellTable(Mode(true), t, -1, 1), CInvalidArgumentException);
}

TEST(ResolveCellTable, EveryRowAndColumnHoldsAtMostOnePositiveCell)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    for (int round = 0; round < 50; ++round) {
        CCellTable t(9, 6);
        for (std::size_t i = 0; i < 9; ++i)
            for (std::size_t j = 0; j < 6; ++j)
                t(i, j) = value(rng);
        ResolveCellTable(Mode(false), t, 9, 6);
        int assigned = 0;
        for (std::size_t i = 0; i < 9; ++i) {
            int inRow = 0;
            for (std::size_t j = 0; j < 6; ++j)
                inRow += t(i, j) > 0;
            EXPECT_LE(inRow, 1);
            assigned += inRow;
        }
        for (std::size_t j = 0; j < 6; ++j) {
            int inColumn = 0;
            for (std::size_t i = 0; i < 9; ++i)
                inColumn += t(i, j) > 0;
            EXPECT_EQ(inColumn, 1); // all values positive: every column of the narrow side is assigned
        }
        EXPECT_EQ(assigned, 6);
    }
}

// Random tables with the values that make the resolution subtle: ties, zeros of both signs, -2 rows (skipped
// peaks), -1 cells, tiny values below the stop threshold and a few negative and non-finite ones.
CCellTable RandomTable(std::mt19937_64& rng, std::size_t& rows, std::size_t& columns)
{
    std::uniform_int_distribution<int> size(0, 12);
    rows = size(rng);
    columns = size(rng);
    // The table may be larger than the resolved block; the rest must stay untouched.
    CCellTable t(rows + size(rng) % 3, columns + size(rng) % 3);
    for (std::size_t i = 0; i < t.Rows(); ++i)
        for (std::size_t j = 0; j < t.Columns(); ++j)
            t(i, j) = 42;
    const double palette[] = {0.0, -0.0, 0.25, 0.5, 0.5, 1.0, 0.0004, 0.0001, 1e-300, -2, -1, -0.5, 3.0};
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> paletteIndex(0, static_cast<int>(std::size(palette)) - 1);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    const int flavour = pick(rng) % 4; // 0: mostly ties, 1: mostly zeros, 2: continuous, 3: mixed
    for (std::size_t i = 0; i < rows; ++i) {
        const bool skippedRow = pick(rng) < 15;
        for (std::size_t j = 0; j < columns; ++j) {
            double v;
            const int p = pick(rng);
            if (skippedRow)
                v = -2;
            else if (flavour == 0)
                v = palette[paletteIndex(rng) % 6];
            else if (flavour == 1)
                v = p < 80 ? 0.0 : value(rng);
            else if (flavour == 2)
                v = value(rng);
            else if (p < 3)
                v = p == 0 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
            else
                v = p < 50 ? palette[paletteIndex(rng)] : value(rng) * 0.001;
            t(i, j) = v;
        }
    }
    return t;
}

TEST(ResolveCellTable, MatchesTheLiteralIterativeResolutionCellForCell)
{
    std::mt19937_64 rng(20261208);
    for (int round = 0; round < 6000; ++round) {
        std::size_t rows = 0, columns = 0;
        const CCellTable original = RandomTable(rng, rows, columns);
        for (bool multiple : {false, true}) {
            CCellTable fast = original;
            CCellTable literalTable = original;
            ResolveCellTable(Mode(multiple), fast, static_cast<int>(rows), static_cast<int>(columns));
            literal::ResolveCellTable(Mode(multiple), literalTable, static_cast<int>(rows), static_cast<int>(columns));
            ASSERT_EQ(Bits(fast), Bits(literalTable))
                << "round " << round << (multiple ? " multiple" : " one-to-one") << "\ninput\n"
                << Dump(original) << "fast\n"
                << Dump(fast) << "literal\n"
                << Dump(literalTable);
        }
    }
}

} // namespace
