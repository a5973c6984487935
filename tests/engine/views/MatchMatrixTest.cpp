#include <gtest/gtest.h>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/views/MatchMatrix.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// Peaks at 1, 2, 3, ... minutes (plus shift) with distinct two-line spectra.
CLibraryChromatogram Chromatogram(const std::string& name, int peaks, double shift)
{
    CLibraryChromatogram c;
    c.SampleName = name;
    for (int i = 0; i < peaks; ++i) {
        auto& p = c.AddPeak();
        p.RT = 1.0 + i + shift;
        p.StartRT = p.RT - 0.05;
        p.EndRT = p.RT + 0.05;
        p.Area = 100.0 + 10 * i;
        p.Height = 10;
        p.RI = 800 + 100 * p.RT;
        p.Spectrum.Append(CLibraryMassSpectrumPoint(50.0 + i, 100));
        p.Spectrum.Append(CLibraryMassSpectrumPoint(90.0 + 2 * i, 40));
        p.Spectrum.ApplyWeighting();
        c.TotalArea += p.Area;
        c.TotalHeight += p.Height;
    }
    return c;
}

class MatchMatrixTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto plugins = std::make_unique<CDatasystemPlugins>();
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ENTRY_READER, true);
        plugin->Name = "Corvelinscope Library Entry";
        plugin->Extension = ".ChromLibEntry";
        plugins->Append(std::move(plugin));
        m_previous = SetDatasystemPlugins(std::move(plugins));
        m_a = m_dir.File("a.ChromLibEntry");
        m_b = m_dir.File("b.ChromLibEntry");
        Chromatogram("A", 4, 0).SaveEntry(m_a);
        Chromatogram("B", 3, 0.01).SaveEntry(m_b);
    }
    void TearDown() override { SetDatasystemPlugins(std::move(m_previous)); }

    TempDir m_dir;
    std::string m_a, m_b;
    CSearchOptions m_options;
    RecordingMessageSink m_sink;
    std::unique_ptr<CDatasystemPlugins> m_previous;
};

TEST_F(MatchMatrixTest, BuildsForwardTableAndDetails)
{
    CMatchMatrix m;
    ASSERT_EQ(BuildMatchMatrix(m_a, m_b, m_options, m), MatchMatrixBuildEnd::Built);
    EXPECT_TRUE(m_sink.entries.empty());
    EXPECT_EQ(m.ThisCount(), 4);
    EXPECT_EQ(m.OtherCount(), 3);
    // Column "RT" plus one per "this" peak; one row per "other" peak; the matched diagonal.
    ASSERT_EQ(m.Table.ColumnCount(), 5);
    EXPECT_EQ(m.Table.Header(0), "RT");
    EXPECT_EQ(m.Table.Header(4), "4.00");
    ASSERT_EQ(m.Table.RowCount(), 3);
    EXPECT_EQ(m.Table.Cell(1, 0), "2.01");
    for (int r = 0; r < 3; ++r)
        for (int c = 1; c < 5; ++c)
            EXPECT_EQ(m.Table.Cell(r, c).empty(), c - 1 != r) << r << "," << c;
    EXPECT_EQ(m.Forward.MatchedPeaks, 3);
    EXPECT_EQ(m.Reverse.MatchedPeaks, 3);
    EXPECT_NE(m.DetailsText.find("nPeaks (this) =  4<br>"), std::string::npos) << m.DetailsText;
    EXPECT_NE(m.DetailsText.find("nPeaks(other) =  3<br>"), std::string::npos) << m.DetailsText;
    // Why its reverse match can differ from the hit list's for the same pair.
    EXPECT_NE(m.DetailsText.find("without the one-to-one peak assignment"), std::string::npos) << m.DetailsText;
}

TEST_F(MatchMatrixTest, FailedBuildsKeepThePreviousMatrix)
{
    CMatchMatrix m;
    ASSERT_EQ(BuildMatchMatrix(m_a, m_b, m_options, m), MatchMatrixBuildEnd::Built);
    const CCellTable cells = m.Cells;

    EXPECT_EQ(BuildMatchMatrix(m_b, "", m_options, m), MatchMatrixBuildEnd::NoPaths);
    const std::string missing = m_dir.File("missing.ChromLibEntry");
    // "this" reads fine, "other" does not: neither side of the previous matrix changes.
    EXPECT_EQ(BuildMatchMatrix(m_b, missing, m_options, m), MatchMatrixBuildEnd::Unreadable);
    ASSERT_GE(m_sink.entries.size(), 2u);
    EXPECT_EQ(m_sink.entries.front().text, "Please choose the files to compare");
    EXPECT_EQ(m_sink.entries.front().caption, "Corvelinscope");
    EXPECT_EQ(m_sink.entries.back().text.rfind("Error reading file " + missing + "\n", 0), 0u);
    EXPECT_EQ(m.This.Peaks.size(), 4u);
    EXPECT_EQ(m.This.SourcePath, m_a);

    // A job's build stopped before its compare ended leaves the previous matrix whole, without a message.
    std::atomic<bool> running{false};
    const std::size_t messages = m_sink.entries.size();
    EXPECT_EQ(BuildMatchMatrix(m_b, m_a, m_options, m, &running), MatchMatrixBuildEnd::Stopped);
    EXPECT_EQ(m_sink.entries.size(), messages);
    EXPECT_EQ(m.This.SourcePath, m_a);
    EXPECT_EQ(m.Cells, cells);
}

// The scriptable test module reads any ".raw" file as a chromatogram of a foreign data system without RI table:
// with RI matching on it needs the options' RI table, which must hold at least two points.
TEST(MatchMatrixBuild, ForeignInputsNeedTwoRICalibrationPointsWhenRIMatchingIsOn)
{
    auto plugins = std::make_unique<CDatasystemPlugins>();
    auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_TEST_PLUGIN_A, false);
    plugin->Name = "Foreign";
    plugin->Extension = ".raw";
    plugins->Append(std::move(plugin));
    auto previous = SetDatasystemPlugins(std::move(plugins));
    RecordingMessageSink sink;
    CSearchOptions options;
    options.RIMatching = 1;
    CMatchMatrix m;
    EXPECT_EQ(BuildMatchMatrix("a.raw", "b.raw", options, m), MatchMatrixBuildEnd::NoRICalibration);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text, "Insufficient RI calibration data for file a.raw");
    EXPECT_EQ(sink.entries[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(m.Built);

    for (int k = 0; k < 2; ++k) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->RT = 2.0 + k;
        point->RI = 800.0 + 100 * k;
        options.RICalibration().AddPoint(std::move(point));
    }
    EXPECT_EQ(BuildMatchMatrix("a.raw", "b.raw", options, m), MatchMatrixBuildEnd::Built);
    EXPECT_EQ(m.This.RICalibration.GetCount(), 2u); // recalibrated with the options' table
    options.RIMatching = 0;
    options.RICalibration().Clear();
    EXPECT_EQ(BuildMatchMatrix("a.raw", "b.raw", options, m), MatchMatrixBuildEnd::Built);
    EXPECT_EQ(sink.entries.size(), 1u);
    SetDatasystemPlugins(std::move(previous));
}

TEST(MatchMatrixTable, RtRangeAndAssignmentThresholdDecideWhatIsShown)
{
    CMatchMatrix m;
    m.This = Chromatogram("T", 3, 0);  // 1, 2, 3 min
    m.Other = Chromatogram("O", 3, 0); // 1, 2, 3 min
    m.Cells.Resize(3, 3);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            m.Cells(i, j) = 0;
    m.Cells(1, 1) = 0.0005;
    m.Cells(1, 2) = 0.0004;
    m.Cells(2, 1) = 0.25;
    CSearchOptions options;
    options.TimeRange = "1.5-3.5";
    FillMatchMatrixTable(m, options);

    ASSERT_EQ(m.Table.ColumnCount(), 3); // RT, 2.00, 3.00: the 1-minute peaks are out of range
    EXPECT_EQ(m.Table.Header(1), "2.00");
    EXPECT_EQ(m.ThisPeakOfColumn, (std::vector<int>{-1, 1, 2}));
    EXPECT_EQ(m.OtherPeakOfRow, (std::vector<int>{1, 2}));
    // Row "other" 2.00: "this" 2.00 holds 0.0005 (shown), "this" 3.00 holds 0.25.
    EXPECT_EQ(m.Table.Cell(0, 1), "0.001");
    EXPECT_EQ(m.Table.Cell(0, 2), "0.250");
    EXPECT_EQ(m.Table.Cell(1, 1), ""); // 0.0004
    EXPECT_EQ(MatchMatrixCsv(m), "\"RT\",\"2.00\",\"3.00\",\n\"2.00\",\"0.001\",\"0.250\",\n\"3.00\",\"\",\"\",\n");
}

// An input claiming more peaks than it holds (a damaged entry) must not make the comparison refuse the table.
TEST(MatchMatrixTable, PeakCountsAreThePeaksThatExist)
{
    CMatchMatrix m;
    m.This = Chromatogram("T", 3, 0);
    m.Other = Chromatogram("O", 2, 0);
    m.This.PeakCount = 1000;
    m.Other.PeakCount = 1;
    CSearchOptions options;
    ASSERT_NO_THROW(CompareMatchMatrix(m, options));
    EXPECT_EQ(m.ThisCount(), 3);
    EXPECT_EQ(m.Forward.ConsideredPeaks, 3);
    EXPECT_EQ(m.Table.RowCount(), 2);
    EXPECT_EQ(m.Cells(1, 1), 1.0);
    EXPECT_NE(m.DetailsText.find("nPeaks(other) =  2<br>"), std::string::npos);
}

TEST(MatchMatrixLinks, ActOnExistingPeaksOfTheNamedSideOnly)
{
    CMatchMatrix m;
    m.This = Chromatogram("T", 2, 0);
    m.Other = Chromatogram("O", 3, 0.5);
    m.Built = true;
    CSearchOptions options;
    static std::vector<std::string> sent;
    sent.clear();
    const NistSender send = [](const CLibraryMassSpectrumData&, const std::string& name, const std::string& comment) {
        sent.push_back(name + "|" + comment);
    };
    EXPECT_FALSE(RunMatchMatrixPeakLink(m, "3-Nist-1", "t.raw", "o.raw", options, send));
    EXPECT_FALSE(RunMatchMatrixPeakLink(m, "1-Nist-2", "t.raw", "o.raw", options, send)); // "this" has 2 peaks
    EXPECT_FALSE(RunMatchMatrixPeakLink(m, "1-Open-0", "t.raw", "o.raw", options, send));
    EXPECT_TRUE(RunMatchMatrixPeakLink(m, "2-Nist-2", "t.raw", "o.raw", options, send));
    EXPECT_EQ(sent, (std::vector<std::string>{"3.50 o.raw|O"}));
    EXPECT_TRUE(RunMatchMatrixPeakLink(m, "1-Spec-1", "t.raw", "o.raw", options, send));
    ASSERT_EQ(options.GetSpectraCount(), 1);
    std::string name;
    options.GetSpectrum(0, &name);
    EXPECT_EQ(name, "2.00 t.raw");
}

} // namespace
