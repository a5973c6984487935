#include <gtest/gtest.h>

#include <cmath>

#include "engine/options/IniSettings.h"
#include "engine/options/SearchOptions.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

CLibraryMassSpectrumData Spectrum(std::initializer_list<std::pair<double, double>> massAndWeight)
{
    CLibraryMassSpectrumData data;
    for (const auto& [mass, weight] : massAndWeight)
        data.Append(CLibraryMassSpectrumPoint(mass, 100.0, weight));
    return data;
}

std::unique_ptr<CLibraryRICalibrationPoint> Point(const std::string& name, double rt, double ri)
{
    auto point = std::make_unique<CLibraryRICalibrationPoint>();
    point->Set(name, rt, ri, Spectrum({{43, 100}, {57, 40}}));
    return point;
}

// Each test gets its own settings file; the previous store comes back afterwards.
class WithSettings : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(m_dir.File("s.ini"), "tester"));
    }
    void TearDown() override { SetSettingsStore(m_previous); }
    TempDir m_dir;
    std::shared_ptr<SettingsStore> m_previous;
};

TEST(SearchOptions, CopyOwnsItsOwnSpectraAndCalibration)
{
    CSearchOptions source;
    source.RTWindowWidth = 0.3;
    source.TimeRange = "1-9";
    source.SummaryISTDName = "ISTD";
    source.AddSpectrum("first", Spectrum({{50, 100}}), true);
    source.AddSpectrum("second", Spectrum({{60, 100}, {61, 5}}), false);
    source.RICalibration().AddPoint(Point("C10", 5.0, 1000));
    source.RICalibration().SetCalculationOption(1);

    CSearchOptions copy(source);
    EXPECT_EQ(copy.RTWindowWidth, 0.3);
    EXPECT_EQ(copy.TimeRange, "1-9");
    EXPECT_EQ(copy.SummaryISTDName, "ISTD");
    ASSERT_EQ(copy.GetSpectraCount(), 2);
    std::string name;
    bool active = true;
    const CLibraryMassSpectrum* second = copy.GetSpectrum(1, &name, &active);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(name, "second");
    EXPECT_FALSE(active);
    EXPECT_EQ(second->Data(), source.GetSpectrum(1)->Data());
    EXPECT_NE(second, source.GetSpectrum(1));
    ASSERT_EQ(copy.RICalibration().GetCount(), 1u);
    EXPECT_EQ(copy.RICalibration().GetCalculationOption(), 1);
    EXPECT_EQ(copy.RICalibration().GetPoint(0).GetName(), "C10");

    copy.ClearSpectra();
    EXPECT_EQ(copy.GetSpectraCount(), 0);
    EXPECT_EQ(copy.RICalibration().GetCount(), 0u);
    EXPECT_EQ(copy.RICalibration().GetCalculationOption(), 1); // clearing keeps the option
    EXPECT_EQ(source.GetSpectraCount(), 2);
    EXPECT_EQ(source.RICalibration().GetCount(), 1u);

    CSearchOptions assigned;
    assigned.AddSpectrum("stale", Spectrum({{70, 1}}), true);
    assigned = source;
    assigned = assigned;
    EXPECT_EQ(assigned.GetSpectraCount(), 2);
    EXPECT_EQ(assigned.GetSpectrum(0)->Data(), source.GetSpectrum(0)->Data());
}

TEST(SearchOptions, SpectralListOperationsIgnoreIndexesOutsideTheList)
{
    CSearchOptions options;
    EXPECT_EQ(options.AddSpectrum("a", Spectrum({{50, 1}}), true), 0);
    EXPECT_EQ(options.AddSpectrum("b", Spectrum({{60, 1}}), true), 1);
    std::string name = "untouched";
    bool active = false;
    EXPECT_EQ(options.GetSpectrum(2, &name, &active), nullptr);
    EXPECT_EQ(options.GetSpectrum(-1, &name, &active), nullptr);
    EXPECT_EQ(name, "untouched");
    options.RenameSpectrum(5, "x");
    options.RenameSpectrum(1, "B");
    options.SetSpectrumActive(1, false);
    options.RemoveSpectrum(0);
    options.RemoveSpectrum(7);
    ASSERT_EQ(options.GetSpectraCount(), 1);
    ASSERT_NE(options.GetSpectrum(0, &name, &active), nullptr);
    EXPECT_EQ(name, "B");
    EXPECT_FALSE(active);
    EXPECT_EQ(options.GetSpectrum(0)->GetPoint(0)->Mass, 60);
}

struct RangeCase {
    const char* range;
    double rt;
    bool in;
};

class TimeRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(TimeRangeTest, IsInTimeRange)
{
    CSearchOptions options;
    options.TimeRange = GetParam().range;
    EXPECT_EQ(options.IsInTimeRange(GetParam().rt), GetParam().in) << GetParam().range << " @ " << GetParam().rt;
}

INSTANTIATE_TEST_SUITE_P(Ranges, TimeRangeTest,
                         testing::Values(RangeCase{"*", -5.0, true}, RangeCase{"*", 1e9, true},
                                         RangeCase{" * ", 3.0, false}, RangeCase{"2-5", 2.0, true},
                                         RangeCase{"2-5", 5.0, true}, RangeCase{"2-5", 5.0001, false},
                                         RangeCase{"2-5", 1.9999, false}, RangeCase{"5-2", 3.0, false},
                                         RangeCase{"1-2;3-4", 3.5, true}, RangeCase{"1-2;3-4;", 3.5, true},
                                         RangeCase{"1-2;x;3-4", 1.5, true}, RangeCase{"1-2;x;3-4", 3.5, false},
                                         RangeCase{"", 0.0, false}, RangeCase{"3-3", 3.0, false},
                                         RangeCase{"1.5-10;12-20", 15.0, true}, RangeCase{"a-b", 0.0, false}));

TEST(SearchOptions, IsValidTimeRange)
{
    for (const char* valid : {"*", " * ", "1-2", "1-2;", " 1.5-10;12-20 ", "0-0.1"})
        EXPECT_TRUE(CSearchOptions::IsValidTimeRange(valid)) << valid;
    for (const char* invalid : {"", "   ", "5-2", "2-2", "1-2;;3-4", "*;1-2", "1-2;*", "12", ";"})
        EXPECT_FALSE(CSearchOptions::IsValidTimeRange(invalid)) << invalid;
}

// A list entry whose match with the peak spectrum below is exactly 0.8: weights (2, 1) against (1, 0).
class PeakExclusion : public testing::Test {
protected:
    const CLibraryMassSpectrumData peak = Spectrum({{50, 1}});
    const CLibraryMassSpectrumData exact = Spectrum({{50, 2}, {60, 1}});
    const CLibraryMassSpectrumData below = Spectrum({{50, std::sqrt(799.0)}, {60, std::sqrt(201.0)}});
};

TEST_F(PeakExclusion, FixturesHaveTheIntendedMatch)
{
    EXPECT_EQ(MSMatch(exact, peak, 0), 0.8);
    EXPECT_NEAR(MSMatch(below, peak, 0), 0.799, 1e-12);
    EXPECT_LT(MSMatch(below, peak, 0), 0.8);
}

TEST_F(PeakExclusion, ModeOneLeavesOutPeaksAtOrAboveTheFit)
{
    CSearchOptions options;
    options.SpectralListMode = 1;
    options.FitThreshold = 800;
    options.AddSpectrum("exact", exact, true);
    EXPECT_TRUE(options.IsPeakExcluded(&peak));
    options.SetSpectrumActive(0, false);
    EXPECT_FALSE(options.IsPeakExcluded(&peak)); // inactive entries do not count
    options.AddSpectrum("below", below, true);
    EXPECT_FALSE(options.IsPeakExcluded(&peak));
    EXPECT_FALSE(options.IsPeakExcluded(nullptr)); // a peak without spectrum takes part in mode 1
    options.FitThreshold = 0;
    options.SetSpectrumActive(0, true);
    EXPECT_FALSE(options.IsPeakExcluded(&peak)); // fit threshold 0 disables the filter
}

TEST_F(PeakExclusion, ModeTwoKeepsOnlyPeaksAtOrAboveTheFit)
{
    CSearchOptions options;
    options.SpectralListMode = 2;
    options.FitThreshold = 800;
    EXPECT_TRUE(options.IsPeakExcluded(&peak)); // empty list: every peak left out
    options.AddSpectrum("below", below, true);
    EXPECT_TRUE(options.IsPeakExcluded(&peak));
    options.AddSpectrum("exact", exact, false);
    EXPECT_TRUE(options.IsPeakExcluded(&peak)); // entirely inactive where it would match
    options.SetSpectrumActive(1, true);
    EXPECT_FALSE(options.IsPeakExcluded(&peak));
    EXPECT_TRUE(options.IsPeakExcluded(nullptr)); // no spectrum never matches
    options.SpectralListMode = 0;
    EXPECT_FALSE(options.IsPeakExcluded(nullptr));
}

TEST_F(PeakExclusion, MassThresholdAppliesWhenOn)
{
    // The entry's second line has intensity 10: above a 5 % threshold, below a 20 % one.
    CLibraryMassSpectrumData entry;
    entry.Append(CLibraryMassSpectrumPoint(50, 100, 2));
    entry.Append(CLibraryMassSpectrumPoint(60, 10, 1));
    CSearchOptions options;
    options.SpectralListMode = 1;
    options.FitThreshold = 900;
    options.AddSpectrum("e", entry, true);
    EXPECT_FALSE(options.IsPeakExcluded(&peak)); // 0.8 < 0.9
    options.MassThreshold = 20;
    EXPECT_FALSE(options.IsPeakExcluded(&peak)); // threshold off: still 0.8
    options.MassThresholdOn = 1;
    EXPECT_TRUE(options.IsPeakExcluded(&peak)); // line at 10 % ignored: match 1
}

TEST_F(WithSettings, FirstStartDefaultsDifferFromTheRecordDefaults)
{
    CSearchOptions options;
    EXPECT_EQ(options.RTWindowWidth, 0.1);
    EXPECT_EQ(options.RIWindowWidth, 15.0);
    options.MSMatching = 0;
    options.SummaryISTDMatch = 1;
    options.LoadLastUsed("Global");
    EXPECT_EQ(options.RTWindowWidth, 0.5);
    EXPECT_EQ(options.RIWindowWidth, 25.0);
    EXPECT_EQ(options.MSMatching, 1);
    EXPECT_EQ(options.RTMatching, 1);
    EXPECT_EQ(options.RIMatching, 0);
    EXPECT_EQ(options.TimeRange, "*");
    EXPECT_EQ(options.MassThreshold, 0.5);
    EXPECT_EQ(options.SummaryISTDMatch, 950);
    EXPECT_EQ(options.SummaryMinMatch, 900);
    EXPECT_EQ(options.SummaryISTDRT, 0.0);
}

TEST_F(WithSettings, SaveLastUsedWritesTheTableInOrderAndLoadReadsItBack)
{
    CSearchOptions saved;
    saved.RTWindowWidth = 0.125;
    saved.RIWindowWidth = 12.34;
    saved.MSMatching = 0;
    saved.RIMatching = 1;
    saved.AreaMatching = 1;
    saved.Weighting = 3;
    saved.TimeRange = "1-2;3-4";
    saved.AbsoluteAreaHeight = 1;
    saved.MassThresholdOn = 1;
    saved.MassThreshold = 2.5;
    saved.AreaThreshold = 1.005;
    saved.SummaryISTDName = "d8-Toluene";
    saved.SummaryISTDRT = 7.456;
    saved.SummaryDisplayOption = 3;
    saved.SearchSubfolders = 1;
    saved.FitThreshold = 700;
    saved.SaveLastUsed();
    EXPECT_EQ(ReadAllText(m_dir.File("s.ini")),
              "[HKCU tester Search Parameter Global]\r\n"
              "LastWindowWidth=0.12\r\nLastRIWindowWidth=12.3\r\nLastMSMatching=0\r\nLastRTMatching=1\r\n"
              "LastRIMatching=1\r\nLastArMatching=1\r\nLastHgMatching=0\r\nLastMultiMatch=0\r\nLastWeighting=3\r\n"
              "LastTimeRange=1-2;3-4\r\nLastAbsoluteAreaHeight=1\r\nLastMassOption=1\r\nLastMassThreshold=2.50\r\n"
              "LastAreaOption=0\r\nLastAreaThreshold=1.00\r\nSummary Relative Display=0\r\n"
              "Summary Display Option=3\r\nSummary ISTD Name=d8-Toluene\r\nSummary ISTD Match=950\r\n"
              "Summary ISTD RT=7.46\r\nSummary Min Peak Match=900\r\n");
    CSearchOptions loaded;
    loaded.LoadLastUsed();
    EXPECT_EQ(loaded.RTWindowWidth, 0.12);
    EXPECT_EQ(loaded.RIWindowWidth, 12.3);
    EXPECT_EQ(loaded.Weighting, 3);
    EXPECT_EQ(loaded.TimeRange, "1-2;3-4");
    EXPECT_EQ(loaded.AbsoluteAreaHeight, 1);
    EXPECT_EQ(loaded.SummaryISTDName, "d8-Toluene");
    EXPECT_EQ(loaded.SummaryISTDRT, 7.46);
    // Not kept in the settings store.
    EXPECT_EQ(loaded.SearchSubfolders, 0);
    EXPECT_EQ(loaded.FitThreshold, 0);
}

TEST_F(WithSettings, LoadLastUsedTakesStoredNumbersWithoutRangeTests)
{
    WriteAllText(m_dir.File("s.ini"), "[HKCU tester Search Parameter Other]\nLastWindowWidth=-7.5x\nLastWeighting=9\n");
    CSearchOptions options;
    options.LoadLastUsed("Other");
    EXPECT_EQ(options.RTWindowWidth, -7.5);
    EXPECT_EQ(options.Weighting, 9);
}

std::vector<std::string> Texts(const std::vector<CPrintLine>& lines)
{
    std::vector<std::string> texts;
    for (const auto& line : lines)
        texts.push_back(line.Text);
    return texts;
}

TEST(SearchOptions, PrintSummaryOfTheRecordDefaults)
{
    const auto lines = CSearchOptions().PrintSummary();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].Heading);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].Heading);
    EXPECT_EQ(Texts(lines),
              (std::vector<std::string>{"Search Options", "MS Matching: Yes", "RT Matching: Yes", "RI Matching: No",
                                        "Area Matching: No", "Height Matching: No", "Absolute Area/Height Matching: No",
                                        "Search Folder Recursion: No", "RT Search Range: *", "RT Window Width: 0.10",
                                        "Multiple Matching: No", "Weighting: none", "Mass Threshold: No",
                                        "Area Threshold: No", "Mass Spec Options", "    no inclusion/exclusion", " "}));
}

TEST(SearchOptions, PrintSummaryWithEveryOptionalLine)
{
    CSearchOptions options;
    options.RTMatching = 0;
    options.RIMatching = 1;
    options.Weighting = 4;
    options.MassThresholdOn = 1;
    options.MassThreshold = 1.234;
    options.AreaThresholdOn = 1;
    options.AreaThreshold = 0.5;
    options.SpectralListMode = 2;
    options.FitThreshold = 850;
    options.AddSpectrum("Toluene", Spectrum({{91, 100}}), true);
    options.AddSpectrum("Hidden", Spectrum({{92, 100}}), false);
    options.AddSpectrum("Xylene", Spectrum({{106, 100}}), true);
    EXPECT_EQ(Texts(options.PrintSummary()), (std::vector<std::string>{"Search Options",
                                                                       "MS Matching: Yes",
                                                                       "RT Matching: No",
                                                                       "RI Matching: Yes",
                                                                       "Area Matching: No",
                                                                       "Height Matching: No",
                                                                       "Absolute Area/Height Matching: No",
                                                                       "Search Folder Recursion: No",
                                                                       "RT Search Range: *",
                                                                       "RI Window Width: 15.0",
                                                                       "Multiple Matching: No",
                                                                       "Weighting: log(Height)",
                                                                       "Mass Threshold: Yes",
                                                                       "    Mass Threshold: 1.23",
                                                                       "Area Threshold: Yes",
                                                                       "    Area Threshold %: 0.50",
                                                                       "Mass Spec Options",
                                                                       "    use only peaks with specified MS",
                                                                       "    Fit Threshold = 850",
                                                                       "    Selected spectra:",
                                                                       "        Toluene",
                                                                       "        Xylene",
                                                                       " "}));
}

TEST(SearchOptions, PrintSummaryShowsOutOfListValuesAsNumbers)
{
    CSearchOptions options;
    options.Weighting = 17;
    options.SpectralListMode = -3;
    const auto texts = Texts(options.PrintSummary());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Weighting: 17"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "    -3"), texts.end());
}

} // namespace
