// Peak tables as different tools write them all read into the same peak; tables the reader must refuse.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/TableText.h"

using namespace corvelin;
using namespace corvelin::peaktable;

namespace {

struct TableCase {
    const char* label;
    std::string text;
};
void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.label;
}

// Every table holds the same two peaks: RT 5.5 min, RI 1234.5, area 1000.5, spectrum 73:100 147:50.5, and a
// second at 6 min.
class SamePeakTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(SamePeakTables, ReadTheFirstPeakAlike)
{
    const PeakTable table = ParsePeakTable(GetParam().text, LabColumns{});
    ASSERT_EQ(table.rows.size(), 2u);
    const PeakRow& row = table.rows[0];
    EXPECT_NEAR(row.rt, 5.5, 1e-12);
    ASSERT_TRUE(row.ri.has_value());
    EXPECT_DOUBLE_EQ(*row.ri, 1234.5);
    EXPECT_DOUBLE_EQ(row.area, 1000.5);
    ASSERT_EQ(row.spectrum.size(), 2u);
    EXPECT_DOUBLE_EQ(row.spectrum[0].mass, 73);
    EXPECT_DOUBLE_EQ(row.spectrum[0].intensity, 100);
    EXPECT_DOUBLE_EQ(row.spectrum[1].mass, 147);
    EXPECT_DOUBLE_EQ(row.spectrum[1].intensity, 50.5);
    EXPECT_NEAR(table.rows[1].rt, 6, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SamePeakTables,
    ::testing::Values(
        TableCase{"tab_seconds_colon_pairs", "RETENTION_TIME\tSPECTRUM\tRETENTION_TIME_INDEX\tArea\n"
                                             "330\t73:100 147:50.5\t1234.5\t1000.5\n360\t73:1\t1300\t5\n"},
        TableCase{"tof_crlf_empty_first_line", "\r\nName\tR.T. (s)\tArea\tRetention Index\tSpectra\r\n"
                                               "a\t330\t1000.5\t1234.5\t73:100 147:50.5\r\n"
                                               "b\t360\t5\t1300\t73:1\r\n"},
        TableCase{"csv_minutes_comma_pairs_quoted",
                  "\xEF\xBB\xBF\"Name\",\"Retention time (min)\",\"RI\",\"Area\",\"Spectrum\"\n"
                  "\"x, y\",5.5,1234.5,1000.5,\"73:100,147:50.5\"\n\"z\",6,1300,5,\"73:1\"\n"},
        TableCase{"semicolon_decimal_comma_blank_pairs", "RT [min];Kovats;Peak area;Mass spectrum\n"
                                                         "5,5;1234,5;1000,5;\"73 100;147 50,5\"\n6;1300;5;73 1\n"},
        TableCase{"semicolon_decimal_comma_colon_pairs", "RT_sec;RI;Area;Spectrum\n"
                                                         "330;1234,5;1000,5;73:100 147:50,5\n360;1300;5;73:1\n"},
        TableCase{"lone_cr_unitless_minutes",
                  "rt\tri\tarea\tms\r5.5\t1234.5\t1000.5\t73 100 147 50.5\r6\t1300\t5\t73 1\r"},
        TableCase{"preamble_lines", "Exported peak list\nSample: X\n\nRT (s),RI,Area,Spectrum\n"
                                    "330,1234.5,1000.5,73:100 147:50.5\n360,1300,5,73:1\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PeakTableParser, RefusesTablesWithoutRTOrSpectrumNamingTheColumn)
{
    const struct {
        const char* text;
        const char* missing;
    } cases[] = {
        {"Name\tArea\tSPECTRUM\na\t1\t73:1\n", "no retention time column"},
        {"\"Name\",\"RI\",\"rt\",\"alg3\"\n\"Glycine\",1302.6,13.97,898\n", "no spectrum column"},
        {"\n\n", "the file holds no table"},
        {"RT (fortnights)\tSpectrum\n1\t73:1\n",
         "the retention time column states the unit 'fortnights', which is not"},
        {"RT\tSpectrum\tArea\n5\t73:1\t-1\n", "no row is left: line 2: the area '-1' is negative"},
    };
    for (const auto& c : cases) {
        try {
            ParsePeakTable(c.text, LabColumns{});
            ADD_FAILURE() << c.text;
        } catch (const TableError& error) {
            EXPECT_NE(std::string(error.what()).find(c.missing), std::string::npos) << error.what();
        }
    }
}

TEST(PeakTableParser, DamagedRowsAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"RT\tSpectrum\n5\t73:1\nfive\t73:1\n", "line 3: the retention time 'five'"},
        {"RT\tSpectrum\n5\t73:1 74\n", "line 2: the spectrum"},
        {"RT\tSpectrum\n5\t73:-1\n", "line 2: the spectrum"},
        {"RT\tSpectrum\tArea\n5\t73:1\tn/a\n", "line 2: the area 'n/a' is not a number"},
        // An unquoted "m:i,m:i" spectrum in a comma table would spill into the next columns.
        {"RT,Spectrum,Area\n5,73:100,147:50,1000\n", "line 2: more cells than the header"},
    };
    for (const auto& c : cases) {
        try {
            ParsePeakTable(c.text, LabColumns{});
            ADD_FAILURE() << c.text;
        } catch (const TableError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

TEST(PeakTableParser, LabNamesAndUnitComeFirst)
{
    LabColumns lab;
    lab.names[static_cast<std::size_t>(ColumnRole::RT)] = {"Ret.Zeit"};
    lab.names[static_cast<std::size_t>(ColumnRole::Spectrum)] = {"Ionen"};
    lab.rtUnit = TimeUnit::Seconds;
    // "RT" would be the built-in alias, but the lab's own column wins; the lab's unit turns 90 into 1.5 min.
    const PeakTable table = ParsePeakTable("RT\tRet.Zeit\tIonen\n7\t90\t73:1\n", lab);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(table.rows[0].rt, 1.5);
}

// Hostile tables: refused, or read without allocating beyond what the text holds.
TEST(PeakTableParser, HostileTablesAreBounded)
{
    std::string longLine = "RT\tSpectrum\tName\n5\t73:1\t" + std::string(10u << 20, 'x') + "\n";
    const PeakTable table = ParsePeakTable(longLine, LabColumns{});
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].name.size(), 256u); // names are cut

    std::string manyColumns = "RT\tSpectrum";
    for (int i = 0; i < 1000000; ++i)
        manyColumns += "\tc";
    EXPECT_THROW(ParsePeakTable(manyColumns + "\n5\t73:1\n", LabColumns{}), TableError);

    std::string manyPairs = "RT\tSpectrum\n5\t";
    for (int i = 0; i < 1000000; ++i)
        manyPairs += "73:1 ";
    EXPECT_THROW(ParsePeakTable(manyPairs + "\n", LabColumns{}), TableError);
}

TEST(PeakTableText, QuotedCellsKeepSeparatorsAndQuotes)
{
    std::vector<std::string> cells;
    SplitCells(R"("a, ""b""",  c , "")", ',', 10, cells);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], "a, \"b\"");
    EXPECT_EQ(cells[1], "c");
    EXPECT_EQ(cells[2], "");
}

} // namespace

namespace {

// The header's unit counts before the lab's; ms and h are converted (a unit not known is refused, above).
TEST(PeakTableParser, TimeUnitsOfTheHeaderCount)
{
    LabColumns minutesLab;
    minutesLab.rtUnit = TimeUnit::Minutes;
    for (const auto& [header, value, minutes] : {std::tuple{"RT (s)", "300", 5.0},
                                                 {"Time (ms)", "90000", 1.5},
                                                 {"RT (h)", "0.5", 30.0},
                                                 {"RT_ms", "60000", 1.0},
                                                 {"RT [hours]", "2", 120.0},
                                                 {"RT", "300", 300.0}}) {
        const PeakTable table = ParsePeakTable(std::string(header) + "\tSpectrum\n" + value + "\t73:1\n", minutesLab);
        ASSERT_EQ(table.rows.size(), 1u) << header;
        EXPECT_NEAR(table.rows[0].rt, minutes, 1e-9) << header;
    }
}

// A negative or overflowing area or height leaves its row out, named by its line.
TEST(PeakTableParser, RowsWithUnusableAreasOrHeightsAreLeftOutByLine)
{
    const PeakTable table = ParsePeakTable(
        "RT\tSpectrum\tArea\tHeight\n5\t73:1\t100\t10\n6\t73:1\t-5\t10\n7\t73:1\t1e999\t10\n8\t73:1\t100\t1e301\n"
        "9\t73:1e308 74:1e308\t\t\n",
        LabColumns{});
    EXPECT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.leftOutCount, 4u);
    EXPECT_EQ(table.leftOut,
              (std::vector<std::string>{"line 3: the area '-5' is negative", "line 4: the area '1e999' is too large",
                                        "line 5: the height '1e301' is too large",
                                        "line 6: the spectrum's area is too large"}));
}

} // namespace
