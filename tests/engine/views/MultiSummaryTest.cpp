#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <random>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryGrouping.h"
#include "engine/views/SummaryISTD.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "engine/views/SummaryQuartiles.h"
#include "tests/support/LiteralMultiSummary.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/SyntheticChromatogram.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

struct PeakSpec {
    double RT;
    double Area;
    int Compound; // spectra of equal compounds are identical, of different ones disjoint
};

std::unique_ptr<CLibraryChromatogram> Make(const std::string& path, const std::vector<PeakSpec>& peaks)
{
    auto c = std::make_unique<CLibraryChromatogram>();
    c->SourcePath = path;
    c->SampleName = path.substr(path.find_last_of('/') + 1);
    for (const PeakSpec& s : peaks) {
        auto& p = c->AddPeak();
        p.RT = s.RT;
        p.StartRT = s.RT - 0.01;
        p.EndRT = s.RT + 0.01;
        p.Area = s.Area;
        p.Height = s.Area / 10;
        p.RI = -1;
        p.Spectrum.Append(CLibraryMassSpectrumPoint(40.0 + 3 * s.Compound, 100));
        p.Spectrum.Append(CLibraryMassSpectrumPoint(41.0 + 3 * s.Compound, 50));
        p.Spectrum.ApplyWeighting();
        c->TotalArea += s.Area;
        c->TotalHeight += p.Height;
    }
    c->NumberPeaks();
    return c;
}

CMultiSummaryResultData Group(std::vector<std::unique_ptr<CLibraryChromatogram>> runs, const CSearchOptions& o)
{
    CMultiSummaryResultData result;
    CMultiSummaryGrouper grouper(result, o);
    for (auto& run : runs)
        grouper.Add(std::move(run), nullptr);
    SortSummaryGroups(result);
    return result;
}

// The (peak index) of every cell, group by group; -1 for an empty cell.
std::vector<std::vector<int>> Cells(const CMultiSummaryResultData& r)
{
    std::vector<std::vector<int>> out;
    for (int g = 0; g < r.GroupCount(); ++g) {
        std::vector<int> row;
        for (int c = 0; c < r.ChromatogramCount(); ++c) {
            const auto* p = r.Cell(c, g);
            row.push_back(p ? p->PeakNumber - 1 : -1);
        }
        out.push_back(row);
    }
    return out;
}

} // namespace

TEST(MultiSummaryResultData, IndexesOutOfRangeAreInvalidArguments)
{
    CMultiSummaryResultData r;
    EXPECT_THROW(r.AddChromatogram(nullptr), CInvalidArgumentException);
    const int c = r.AddChromatogram(Make("/d/a", {{1, 10, 1}, {2, 10, 2}}));
    const auto* peak = r.Chromatogram(c).GetPeak(0);
    EXPECT_THROW(r.NewGroup(1, peak), CInvalidArgumentException);
    EXPECT_THROW(r.NewGroup(0, nullptr), CInvalidArgumentException);
    EXPECT_EQ(0, r.NewGroup(0, peak));
    EXPECT_THROW(r.SetCell(0, 1, peak), CInvalidArgumentException);
    EXPECT_THROW(r.SetCell(-1, 0, peak), CInvalidArgumentException);
    EXPECT_THROW(r.Cell(0, 1), CInvalidArgumentException);
    EXPECT_THROW(r.ReferencePeak(-1), CInvalidArgumentException);
    EXPECT_THROW(r.Chromatogram(1), CInvalidArgumentException);
    EXPECT_THROW(r.SwapGroups(0, 1), CInvalidArgumentException);
    // A chromatogram added later gets an empty cell in every existing group.
    const int d = r.AddChromatogram(Make("/d/b", {{1, 10, 1}}));
    EXPECT_EQ(nullptr, r.Cell(d, 0));
    EXPECT_EQ(peak, r.Cell(0, 0));
}

TEST(MultiSummaryGrouping, OneRunFoundsSeveralGroupsAndALaterPeakReplacesTheEarlier)
{
    CSearchOptions o; // RT (window 0.1) and MS matching
    // Run a: two different compounds 0.02 min apart found two groups. Run b: two peaks of compound 1 both match
    // group 1; the later one ends up in the cell.
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/a", {{5.00, 10, 1}, {5.02, 20, 2}}));
    runs.push_back(Make("/d/b", {{4.99, 30, 1}, {5.01, 40, 1}, {5.03, 50, 2}}));
    const auto result = Group(std::move(runs), o);
    ASSERT_EQ(2, result.GroupCount());
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 1}, {1, 2}}), Cells(result));
}

TEST(MultiSummaryGrouping, AllMatchingsOffPutEveryPeakIntoTheFirstGroup)
{
    CSearchOptions o;
    o.MSMatching = o.RTMatching = o.RIMatching = o.AreaMatching = o.HeightMatching = 0;
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/a", {{1, 10, 1}, {9, 10, 2}}));
    runs.push_back(Make("/d/b", {{3, 10, 3}, {4, 10, 4}, {7, 10, 5}}));
    const auto result = Group(std::move(runs), o);
    EXPECT_EQ((std::vector<std::vector<int>>{{1, 2}}), Cells(result));
}

TEST(MultiSummaryGrouping, GroupsOfEqualRTKeepTheirCreationOrder)
{
    CSearchOptions o;
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/a", {{6, 10, 1}, {6, 10, 2}, {2, 10, 3}}));
    runs.push_back(Make("/d/b", {{6, 10, 4}, {1, 10, 5}}));
    const auto result = Group(std::move(runs), o);
    ASSERT_EQ(5, result.GroupCount());
    // Creation order: a0, a1, a2, b0, b1; sorted by RT: b1 (1), a2 (2), a0, a1, b0 (all 6).
    EXPECT_EQ((std::vector<std::vector<int>>{{-1, 1}, {2, -1}, {0, -1}, {1, -1}, {-1, 0}}), Cells(result));
}

// The group order against the literal bubble sort with many equal RTs, infinities, signed zeros and NaN (which
// compares with nothing, so the literal swaps decide where it ends up). One group per peak: RT matching is off
// and every peak has a compound of its own.
TEST(MultiSummaryGrouping, GroupOrderMatchesTheLiteralWithTiesInfinitiesAndNaN)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double rts[] = {3, 1, 2, 0, -0.0, inf, -inf, std::nan("")};
    std::mt19937_64 rng(7);
    for (int round = 0; round < 40; ++round) {
        CSearchOptions o;
        o.RTMatching = 0;
        std::vector<std::vector<PeakSpec>> specs(3);
        int compound = 0;
        for (auto& run : specs)
            for (int i = 0; i < 15; ++i)
                run.push_back({rts[rng() % (round % 2 ? 8 : 7)], 10, compound++});
        std::vector<std::unique_ptr<CLibraryChromatogram>> fast;
        std::vector<std::unique_ptr<CLibraryChromatogram>> slow;
        for (std::size_t r = 0; r < specs.size(); ++r) {
            fast.push_back(Make("/d/" + std::to_string(r), specs[r]));
            slow.push_back(Make("/d/" + std::to_string(r), specs[r]));
        }
        const CMultiSummaryResultData engine = Group(std::move(fast), o);
        CMultiSummaryResultData literalResult;
        literal::GroupMultiSummary(std::move(slow), o, literalResult);
        ASSERT_EQ(45, engine.GroupCount());
        EXPECT_EQ(Cells(literalResult), Cells(engine)) << "round " << round;
    }
}

// The engine's grouping against the literal transcription on random runs and options: same groups, same cells,
// same table text.
TEST(MultiSummaryGrouping, MatchesTheLiteralTranscription)
{
    std::mt19937_64 rng(42);
    for (int round = 0; round < 24; ++round) {
        CSearchOptions o;
        o.RTMatching = round % 4 != 3;
        o.MSMatching = round % 3 != 2;
        o.RIMatching = round % 5 == 1;
        o.AreaMatching = round % 6 == 4;
        o.HeightMatching = round % 7 == 5;
        o.AbsoluteAreaHeight = round % 2;
        o.RTWindowWidth = std::uniform_real_distribution<double>(0.01, 0.4)(rng);
        o.RIWindowWidth = 20;
        o.MassThresholdOn = round % 3 == 0;
        o.MassThreshold = 2;
        o.AreaThresholdOn = round % 5 == 3;
        o.AreaThreshold = 0.3;
        if (round % 8 == 6)
            o.TimeRange = "5-30";
        o.SummaryDisplayOption = round % 4;
        CSyntheticShape shape;
        shape.Peaks = 60;
        shape.Lines = 25;
        shape.LastRT = 30;
        shape.Calibrated = round % 2 == 0;
        const auto base = MakeSyntheticChromatogram(shape, 1000 + round);
        std::vector<std::unique_ptr<CLibraryChromatogram>> fast;
        std::vector<std::unique_ptr<CLibraryChromatogram>> slow;
        for (int run = 0; run < 6; ++run) {
            auto c = MakeSyntheticVariant(*base, 77 * round + run, 0.05, 15);
            c->SourcePath = "/data/run" + std::to_string(run) + ".raw";
            slow.push_back(std::make_unique<CLibraryChromatogram>(*c));
            slow.back()->SourcePath = c->SourcePath;
            fast.push_back(std::move(c));
        }
        const CMultiSummaryResultData engine = Group(std::move(fast), o);
        CMultiSummaryResultData literalResult;
        literal::GroupMultiSummary(std::move(slow), o, literalResult);
        ASSERT_EQ(literalResult.GroupCount(), engine.GroupCount()) << "round " << round;
        EXPECT_EQ(Cells(literalResult), Cells(engine)) << "round " << round;
        for (int g = 0; g < engine.GroupCount(); ++g)
            EXPECT_EQ(literalResult.ReferencePeak(g)->PeakNumber, engine.ReferencePeak(g)->PeakNumber);
        CReportTable a;
        CReportTable b;
        FillMultiSummaryTable(engine, o, a);
        FillMultiSummaryTable(literalResult, o, b);
        EXPECT_EQ(MultiSummaryCsvText(o, b), MultiSummaryCsvText(o, a)) << "round " << round;
        if (o.RTMatching || o.MSMatching) {
            EXPECT_GT(engine.GroupCount(), 1);
        }
    }
}

TEST(SummaryQuartiles, BoundsAndClasses)
{
    // One value: it is the minimum.
    EXPECT_EQ("Minimum", QuartileClass(7, SummaryQuartiles({7})));
    // k = 0.25 x 4 = 1 is whole: Q1 is the mean of the first two values; likewise Q2 and Q3.
    const CSummaryQuartiles q = SummaryQuartiles({40, 10, 30, 20});
    EXPECT_DOUBLE_EQ(15, q.Q1);
    EXPECT_DOUBLE_EQ(25, q.Q2);
    EXPECT_DOUBLE_EQ(35, q.Q3);
    // k = 0.25 x 5 = 1.25 is not: Q1 is the value at position ceil(1.25) = 2.
    const CSummaryQuartiles five = SummaryQuartiles({5, 1, 4, 2, 3});
    EXPECT_DOUBLE_EQ(2, five.Q1);
    EXPECT_DOUBLE_EQ(3, five.Q2);
    EXPECT_DOUBLE_EQ(4, five.Q3);
    EXPECT_EQ("Minimum", QuartileClass(1, five));
    EXPECT_EQ("Maximum", QuartileClass(5, five));
    EXPECT_EQ("Q2", QuartileClass(2, five));
    EXPECT_EQ("Q3", QuartileClass(3, five));
    EXPECT_EQ("Q4", QuartileClass(4, five));
    EXPECT_EQ("Q1", QuartileClass(12, q));
    EXPECT_EQ("please report to helpdesk", QuartileClass(std::nan(""), five));
}

TEST(MultiSummaryTable, RowsPathsAndISTDValues)
{
    CSearchOptions o;
    const auto istd = Make("/x", {{1, 1, 9}});
    o.AddSpectrum("ISTD-d8", istd->Peaks[0]->Spectrum, true);
    o.SummaryISTDName = "ISTD-d8";
    o.SummaryISTDRT = 0;
    o.SummaryRelative = 1;
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/data/set/a.raw", {{2, 50, 1}, {3, 200, 9}}));
    runs.push_back(Make("/data/set/sub/b.raw", {{2.01, 30, 1}}));
    runs.push_back(Make("/data/other/c.raw", {{3.01, 100, 9}, {2.0, 80, 1}}));
    runs[1]->SampleName.clear();
    runs[1]->Comment = "comment b";
    const auto result = Group(std::move(runs), o);
    CReportTable t;
    PrepareMultiSummaryTable(t);
    FillMultiSummaryTable(result, o, t);
    ASSERT_EQ(4, t.ColumnCount());
    EXPECT_EQ("RT 2.00, ID 1", t.Header(2));
    EXPECT_EQ("RT 3.00, ID 2", t.Header(3));
    ASSERT_EQ(3, t.RowCount());
    EXPECT_EQ((std::vector<std::string>{"a.raw", "a.raw", "0.250", "1.000"}), t.Row(0).Cells);
    EXPECT_EQ((std::vector<std::string>{"sub/b.raw", "comment b", "no ISTD", ""}), t.Row(1).Cells);
    EXPECT_EQ((std::vector<std::string>{"../other/c.raw", "c.raw", "0.800", "1.000"}), t.Row(2).Cells);

    o.SummaryRelative = 0;
    o.SummaryDisplayOption = 2;
    FillMultiSummaryTable(result, o, t);
    EXPECT_EQ((std::vector<std::string>{"sub/b.raw", "comment b", "2.01", ""}), t.Row(1).Cells);
    EXPECT_EQ("./x", SummaryRelativePath("./x", ""));
    EXPECT_EQ("b", SummaryRelativePath("/d/./b", "/d"));
}

TEST(MultiSummaryTable, ThePageShowsSmallRelativeValuesTheFileKeepsItsFormat)
{
    CSearchOptions o;
    const auto istd = Make("/x", {{1, 1, 9}});
    o.AddSpectrum("ISTD-d8", istd->Peaks[0]->Spectrum, true);
    o.SummaryISTDName = "ISTD-d8";
    o.SummaryRelative = 1;
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/a.raw", {{2, 0.04, 1}, {3, 200, 9}, {4, 3000, 2}}));
    const auto result = Group(std::move(runs), o);
    CReportTable t;
    for (const auto& [digits, small] : {std::pair{SummaryDigits::File, "0.000"}, {SummaryDigits::Screen, "0.000200"}}) {
        FillMultiSummaryTable(result, o, t, {}, digits);
        EXPECT_EQ((std::vector<std::string>{"a.raw", "a.raw", small, "1.000", "15.000"}), t.Row(0).Cells);
    }
    EXPECT_EQ("", SummaryISTDProblem(o));
    o.ClearSpectra(); // the spectral list after a restart
    EXPECT_NE(std::string::npos, SummaryISTDProblem(o).find("\"ISTD-d8\" is not in the spectral list"));
}

TEST(MultiSummaryExport, FileBytes)
{
    CSearchOptions o;
    o.MassThresholdOn = 1;
    o.MassThreshold = 2.5;
    o.SummaryRelative = 1;
    o.SummaryISTDName = "d8";
    o.SummaryISTDRT = 4.25;
    o.SummaryISTDMatch = 800;
    CReportTable t;
    PrepareMultiSummaryTable(t);
    t.InsertColumn("RT 1.00, ID 1", 60);
    t.InsertColumn("hidden", 0);
    t.AddRow({"sub/a.raw", "3/4 mix", "no ISTD", "x"});
    const std::string expected = "Corvelinscope multiple file peak summary results\r\n\r\nSearch Parameter:\r\n"
                                 "MS matching = Yes\r\nRT matching = Yes\r\nRI matching = No\r\nArea matching = No\r\n"
                                 "Height matching = No\r\nArea/Height compare option = relative area/height\r\n"
                                 "RT search range: *\r\nAllow multiple matching = No\r\nWeighting: none\r\n"
                                 "RT window width: 0.10\r\nMass Threshold used: Yes\r\nMass Threshold: 2.50 %\r\n"
                                 "Area Threshold used: No\r\n\r\nValues shown: Area\r\n"
                                 "Values are relative to ISTD: d8\r\nISTD RT: 4.250\r\nISTD match: 800\r\n\r\n"
                                 "Results:\r\n\"File Path\",\"Sample Name\",\"RT 1.00, ID 1\",\r\n"
                                 "\"sub/a.raw\",\"3 of 4 mix\",\"no ISTD\",\r\n";
    TempDir dir;
    const std::string path = dir.File("summary.csv");
    ASSERT_TRUE(WriteMultiSummaryCsv(path, o, t));
    EXPECT_EQ(expected, ReadAllText(path));

    RecordingMessageSink sink;
    EXPECT_FALSE(WriteMultiSummaryCsv(dir.File("missing/summary.csv"), o, t));
    ASSERT_EQ(1u, sink.entries.size());
    EXPECT_NE(std::string::npos, sink.entries[0].text.find("\nCould not open file " + dir.File("missing/summary.csv") +
                                                           ". Please ensure that it is not opened, e.g. by Excel."));
}

TEST(MultiSummaryTable, PeakTipAndLinks)
{
    CSearchOptions o;
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/a.raw", {{2, 50, 1}, {3, 150, 2}}));
    const auto result = Group(std::move(runs), o);
    EXPECT_EQ("", SummaryPeakTip(result, 0, 1, 7, 300, 120));
    const std::string tip = SummaryPeakTip(result, 0, 3, 7, 300, 120);
    EXPECT_NE(std::string::npos, tip.find("Peak Number =  2<br>RT = 3.00<br>RI = -1.0<br>Area = 75.00 %<br>"
                                          "Area = 150 <br>Height = 75.00 %<br>Height = 15.0 <br>Width = 1.20 sec"));
    EXPECT_NE(std::string::npos, tip.find("<bmp handle=7 cx=300 cy=120><br><a msg=\"0-Nist-1\">Send to NIST</a> "
                                          "<a msg=\"0-Spec-1\">Send to MS options</a>"));
    const CSummaryPeakLink link = ParseSummaryPeakLink("0-Spec-1");
    EXPECT_EQ(CSummaryPeakLink::Kind::Spectrum, link.Action);
    EXPECT_EQ("3.00 /d/a.raw", SummaryPeakLabel(result, link));
    EXPECT_EQ(CSummaryPeakLink::Kind::None, ParseSummaryPeakLink("0-Other-1").Action);
}

class MultiSummaryRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto plugins = std::make_unique<CDatasystemPlugins>();
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ENTRY_READER, true);
        plugin->Name = "Corvelinscope Library Entry";
        plugin->Extension = ".ChromLibEntry";
        plugins->Append(std::move(plugin));
        m_previous = SetDatasystemPlugins(std::move(plugins));
    }
    void TearDown() override { SetDatasystemPlugins(std::move(m_previous)); }
    std::unique_ptr<CDatasystemPlugins> m_previous;
    TempDir m_dir;
};

// Files read on several threads give the same record, statuses, progress and messages, in file order.
TEST_F(MultiSummaryRunTest, ResultsInFileOrderWhateverTheThreads)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 7; ++i) {
        const std::string path = m_dir.File("run" + std::to_string(i) + ".ChromLibEntry");
        Make(path, {{2.0 + 0.01 * i, 10.0 + i, 1}, {4, 5, 2 + i % 2}})->SaveEntry(path);
        paths.push_back(path);
        if (i == 3)
            paths.push_back(m_dir.File("broken.ChromLibEntry"));
    }
    WriteAllText(paths[4], "not an entry");
    paths.push_back(m_dir.File("missing.ChromLibEntry"));
    CSearchOptions o;
    std::vector<std::string> reference;
    for (int threads : {1, 3}) {
        RecordingMessageSink sink;
        std::vector<std::string> statuses;
        int lastProgress = 0;
        CMultiSummaryCallbacks callbacks;
        callbacks.Status = [&](const std::string& s) { statuses.push_back(s); };
        callbacks.Progress = [&](int p) {
            EXPECT_EQ(lastProgress + 1, p);
            lastProgress = p;
        };
        CMultiSummaryResultData result;
        std::atomic<bool> running{true};
        const auto stats = RunMultiSummary(paths, o, result, running, callbacks, threads);
        EXPECT_EQ(7, stats.FilesRead);
        EXPECT_EQ(2, stats.FilesFailed);
        EXPECT_EQ(14, lastProgress);
        ASSERT_EQ(7, result.ChromatogramCount());
        EXPECT_EQ(paths[5], result.Chromatogram(4).SourcePath);
        EXPECT_EQ("File: /run0.ChromLibEntry ", statuses[0]);
        EXPECT_EQ("File: /run0.ChromLibEntry 2 Peaks", statuses[1]);
        EXPECT_EQ("File: /broken.ChromLibEntry ", statuses[8]);
        EXPECT_EQ("File: /run4.ChromLibEntry ", statuses[9]);
        CReportTable t;
        FillMultiSummaryTable(result, o, t);
        std::string text = MultiSummaryCsvText(o, t);
        for (const auto& e : sink.entries)
            text += e.kind + ":" + e.text + "\n";
        for (const auto& s : statuses)
            text += s + "\n";
        if (reference.empty())
            reference.push_back(text);
        else
            EXPECT_EQ(reference[0], text);
    }
    EXPECT_NE(std::string::npos, reference[0].find("\"run1.ChromLibEntry\",\"run1.ChromLibEntry\",\"11\","));
}

// A run stopped while its first file is delivered reads no further file (a missing file would have given its
// message), groups what it read, and says it stopped.
TEST_F(MultiSummaryRunTest, StopReadsNoFurtherFile)
{
    const std::string first = m_dir.File("first.ChromLibEntry");
    Make(first, {{2.0, 10.0, 1}, {4, 5, 2}})->SaveEntry(first);
    std::vector<std::string> paths{first};
    for (int i = 0; i < 6; ++i)
        paths.push_back(m_dir.File("missing" + std::to_string(i) + ".ChromLibEntry"));
    RecordingMessageSink sink;
    std::atomic<bool> running{true};
    CMultiSummaryCallbacks callbacks;
    callbacks.Status = [&](const std::string&) { running.store(false); };
    CMultiSummaryResultData result;
    const auto stats = RunMultiSummary(paths, CSearchOptions(), result, running, callbacks, 1);
    EXPECT_TRUE(stats.Stopped);
    EXPECT_EQ(1, stats.FilesRead);
    EXPECT_EQ(0, stats.FilesFailed);
    EXPECT_EQ(1, result.ChromatogramCount());
    EXPECT_EQ(std::vector<std::string>{}, sink.Texts());
}

// The tool tip of a run whose peaks total 0 gives 0 %, never nan.
TEST(MultiSummaryTable, PeakTipAtATotalOfZero)
{
    std::vector<std::unique_ptr<CLibraryChromatogram>> runs;
    runs.push_back(Make("/d/z.raw", {{2, 0, 1}}));
    const auto result = Group(std::move(runs), CSearchOptions{});
    const std::string tip = SummaryPeakTip(result, 0, 2, 7, 300, 120);
    EXPECT_NE(tip.find("Area = 0.00 %<br>Area = 0 <br>Height = 0.00 %"), std::string::npos) << tip;
}
