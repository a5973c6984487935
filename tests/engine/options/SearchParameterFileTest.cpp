#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "engine/options/IniSettings.h"
#include "engine/options/SearchParameterFile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

CLibraryMassSpectrumData Spectrum(std::initializer_list<std::pair<double, double>> lines)
{
    CLibraryMassSpectrumData data;
    for (const auto& [mass, intensity] : lines)
        data.Append(CLibraryMassSpectrumPoint(mass, intensity));
    return data;
}

void AddPoint(CSearchOptions& options, const std::string& name, double rt, double ri, const CLibraryMassSpectrumData& s)
{
    auto point = std::make_unique<CLibraryRICalibrationPoint>();
    point->Set(name, rt, ri, s);
    options.RICalibration().AddPoint(std::move(point));
}

// A record that differs from the read defaults in every field of the file.
CSearchOptions FullRecord()
{
    CSearchOptions o;
    o.MSMatching = 0;
    o.RTMatching = 0;
    o.RIMatching = 0;
    o.AreaMatching = 1;
    o.HeightMatching = 1;
    o.AbsoluteAreaHeight = 1;
    o.SearchSubfolders = 1;
    o.TimeRange = "1.5-10;12-20";
    o.RTWindowWidth = 0.25;
    o.RIWindowWidth = 33.0;
    o.MultipleMatching = 1;
    o.Weighting = 4;
    o.MassThresholdOn = 1;
    o.MassThreshold = 1.25;
    o.AreaThresholdOn = 1;
    o.AreaThreshold = 2.5;
    o.FitThreshold = 650;
    o.SpectralListMode = 2;
    o.AddSpectrum("Toluene", Spectrum({{91, 100}, {92, 60.5}}), true);
    o.AddSpectrum("Benzene", Spectrum({{78, 100}}), false);
    o.RICalibration().SetCalculationOption(1);
    AddPoint(o, "C10", 5.5, 1000, Spectrum({{57, 100}, {71, 45.25}}));
    AddPoint(o, "C12", 8.25, 1200, Spectrum({{57, 100}}));
    o.SummaryRelative = 1;
    o.SummaryDisplayOption = 3;
    o.SummaryISTDName = "d8-Toluene";
    o.SummaryISTDMatch = 975;
    o.SummaryISTDRT = 4.125;
    o.SummaryMinMatch = 850;
    return o;
}

const char* const ExpectedFile = "[Standard Options]\r\n"
                                 "MS Matching=0\r\n"
                                 "RT Matching=0\r\n"
                                 "RI Matching=0\r\n"
                                 "Area Matching=1\r\n"
                                 "Height Matching=1\r\n"
                                 "AbsoluteAreaHeight=1\r\n"
                                 "Recursion=1\r\n"
                                 "[Advanced Options]\r\n"
                                 "SearchRange=1.5-10;12-20\r\n"
                                 "Window Width=0.25\r\n"
                                 "Multiple Match=1\r\n"
                                 "Weighting=4\r\n"
                                 "[Thresholds]\r\n"
                                 "DoMass=1\r\n"
                                 "Mass=1.25\r\n"
                                 "DoArea=1\r\n"
                                 "Area=2.50\r\n"
                                 "[MassSpecOptions]\r\n"
                                 "nMassSpecs=2\r\n"
                                 "FitThreshold=650\r\n"
                                 "SpectalOptionType=2\r\n"
                                 "[MassSpec001]\r\n"
                                 "Name=Toluene\r\n"
                                 "Active=1\r\n"
                                 "nMassPeaks=2\r\n"
                                 "Peak001=(91.00, 100.000) \r\n"
                                 "Peak002=(92.00, 60.500) \r\n"
                                 "[MassSpec002]\r\n"
                                 "Name=Benzene\r\n"
                                 "Active=0\r\n"
                                 "nMassPeaks=1\r\n"
                                 "Peak001=(78.00, 100.000) \r\n"
                                 "[RI Calibration]\r\n"
                                 "CalcOption=1\r\n"
                                 "nDataPoints=2\r\n"
                                 "[RICalPoint001]\r\n"
                                 "Name=C10\r\n"
                                 "Ri=1000.0\r\n"
                                 "Rt=5.50\r\n"
                                 "nMassPeaks=2\r\n"
                                 "Peak001=(57.00, 100.000) \r\n"
                                 "Peak002=(71.00, 45.250) \r\n"
                                 "[RICalPoint002]\r\n"
                                 "Name=C12\r\n"
                                 "Ri=1200.0\r\n"
                                 "Rt=8.25\r\n"
                                 "nMassPeaks=1\r\n"
                                 "Peak001=(57.00, 100.000) \r\n"
                                 "[Summary Options]\r\n"
                                 "Summary Relative Display=1\r\n"
                                 "Summary Display Option=3\r\n"
                                 "Summary ISTD Name=d8-Toluene\r\n"
                                 "Summary ISTD Match=975\r\n"
                                 "Summary ISTD RT=4.125\r\n"
                                 "Summary Min Peak Match=850\r\n";

TEST(SearchParameterFile, WrittenBytesFollowTheLayout)
{
    TempDir dir;
    const std::string path = dir.File("method.spf");
    ASSERT_TRUE(WriteParameterFile(FullRecord(), path));
    EXPECT_EQ(ReadAllText(path), ExpectedFile);
}

TEST(SearchParameterFile, ReadBackRestoresEveryFieldButTheRIWindow)
{
    TempDir dir;
    const std::string path = dir.File("method.spf");
    const CSearchOptions written = FullRecord();
    ASSERT_TRUE(WriteParameterFile(written, path));
    CSearchOptions read;
    read.RIWindowWidth = 44.0;
    read.AddSpectrum("old", Spectrum({{1, 1}}), true);
    AddPoint(read, "old", 1, 1, Spectrum({}));
    ASSERT_TRUE(ReadParameterFile(read, path));

    EXPECT_EQ(read.RIWindowWidth, 44.0);
    read.RIWindowWidth = written.RIWindowWidth;
    EXPECT_EQ(read.PrintSummary(), written.PrintSummary());
    EXPECT_EQ(read.MSMatching, 0);
    EXPECT_EQ(read.AbsoluteAreaHeight, 1);
    EXPECT_EQ(read.SearchSubfolders, 1);
    EXPECT_EQ(read.TimeRange, written.TimeRange);
    EXPECT_EQ(read.RTWindowWidth, 0.25);
    EXPECT_EQ(read.MassThreshold, 1.25);
    EXPECT_EQ(read.AreaThreshold, 2.5);
    EXPECT_EQ(read.FitThreshold, 650);
    EXPECT_EQ(read.SpectralListMode, 2);
    EXPECT_EQ(read.SummaryRelative, 1);
    EXPECT_EQ(read.SummaryDisplayOption, 3);
    EXPECT_EQ(read.SummaryISTDName, "d8-Toluene");
    EXPECT_EQ(read.SummaryISTDMatch, 975);
    EXPECT_EQ(read.SummaryISTDRT, 4.125);
    EXPECT_EQ(read.SummaryMinMatch, 850);

    ASSERT_EQ(read.GetSpectraCount(), 2);
    for (int i = 0; i < 2; ++i) {
        std::string name, writtenName;
        bool active = false, writtenActive = false;
        const auto* spectrum = read.GetSpectrum(i, &name, &active);
        const auto* original = written.GetSpectrum(i, &writtenName, &writtenActive);
        EXPECT_EQ(name, writtenName);
        EXPECT_EQ(active, writtenActive);
        ASSERT_EQ(spectrum->GetCount(), original->GetCount());
        for (std::size_t j = 0; j < spectrum->GetCount(); ++j) {
            EXPECT_EQ(spectrum->GetPoint(j)->Mass, original->GetPoint(j)->Mass);
            EXPECT_EQ(spectrum->GetPoint(j)->Intensity, original->GetPoint(j)->Intensity);
        }
    }
    // List spectra are weighted on reading: the largest weight is 100.
    EXPECT_EQ(read.GetSpectrum(1)->GetPoint(0)->WeightedIntensity, 100.0);

    const auto& table = read.RICalibration();
    EXPECT_EQ(table.GetCalculationOption(), 1);
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetPoint(0).GetName(), "C10");
    EXPECT_EQ(table.GetPoint(0).GetRT(), 5.5);
    EXPECT_EQ(table.GetPoint(0).GetRI(), 1000.0);
    EXPECT_EQ(table.GetPoint(1).GetName(), "C12");
    EXPECT_EQ(table.GetPoint(0).GetSpectrum().GetCount(), 2u);
    // Calibration spectra are not weighted.
    EXPECT_EQ(table.GetPoint(0).GetSpectrum().GetPoint(1)->Intensity, 45.25);
    EXPECT_EQ(table.GetPoint(0).GetSpectrum().GetPoint(1)->WeightedIntensity, 0.0);
}

TEST(SearchParameterFile, MissingValuesTakeTheReadDefaults)
{
    TempDir dir;
    const std::string path = dir.File("empty.spf");
    WriteAllText(path, "[Other]\nx=1\n");
    CSearchOptions options = FullRecord();
    options.AbsoluteAreaHeight = 1;
    EXPECT_FALSE(ReadParameterFile(options, path)); // none of the file's sections: reported as unread
    EXPECT_EQ(options.MSMatching, 1);
    EXPECT_EQ(options.RTMatching, 1);
    EXPECT_EQ(options.RIMatching, 1); // unlike the last-used default
    EXPECT_EQ(options.AreaMatching, 0);
    EXPECT_EQ(options.AbsoluteAreaHeight, 1); // no key: left as it was
    EXPECT_EQ(options.TimeRange, "*");
    EXPECT_EQ(options.RTWindowWidth, 0.5);
    EXPECT_EQ(options.MassThreshold, 0.5);
    EXPECT_EQ(options.FitThreshold, 800);
    EXPECT_EQ(options.SpectralListMode, 0);
    EXPECT_EQ(options.GetSpectraCount(), 0);
    EXPECT_EQ(options.RICalibration().GetCount(), 0u);
    EXPECT_EQ(options.RICalibration().GetCalculationOption(), 0);
    EXPECT_EQ(options.SummaryISTDName, "");
    EXPECT_EQ(options.SummaryISTDMatch, 950);
    EXPECT_EQ(options.SummaryMinMatch, 900);
    EXPECT_EQ(options.RIWindowWidth, 33.0);

    // A missing file reads the same defaults and says so.
    CSearchOptions missing = FullRecord();
    EXPECT_FALSE(ReadParameterFile(missing, dir.File("nothere.spf")));
    EXPECT_EQ(missing.RIMatching, 1);
    EXPECT_EQ(missing.GetSpectraCount(), 0);
}

// Files that are no parameter file are reported (false) and never wait: a FIFO without a writer is refused at
// once, binary junk, UTF-16 text and an empty file hold none of the file's sections.
TEST(SearchParameterFile, FilesWithoutAnyOfItsSectionsOrNotRegularAreReported)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe.spf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteAllBytes(dir.File("junk.spf"), {0x7f, 'E', 'L', 'F', 0, 1, 2, '[', 0xff, ']', '\n'});
    WriteAllBytes(dir.File("utf16.spf"), {0xff, 0xfe, '[', 0, 'T', 0, 'h', 0, 'r', 0, 'e', 0, 's',  0,
                                          'h',  0,    'o', 0, 'l', 0, 'd', 0, 's', 0, ']', 0, '\n', 0});
    WriteAllText(dir.File("empty.spf"), "");
    for (const char* name : {"pipe.spf", "junk.spf", "utf16.spf", "empty.spf"}) {
        CSearchOptions options;
        EXPECT_FALSE(ReadParameterFile(options, dir.File(name))) << name;
    }
    CSearchOptions options;
    WriteAllText(dir.File("ok.spf"), "[thresholds]\nDoMass=1\n");
    EXPECT_TRUE(ReadParameterFile(options, dir.File("ok.spf")));
}

TEST(SearchParameterFile, AbsoluteFlagIsRestoredWhenPresent)
{
    TempDir dir;
    const std::string path = dir.File("abs.spf");
    WriteAllText(path, "[Standard Options]\nAbsoluteAreaHeight=0\n");
    CSearchOptions options;
    options.AbsoluteAreaHeight = 1;
    ReadParameterFile(options, path);
    EXPECT_EQ(options.AbsoluteAreaHeight, 0);
}

struct Adjustment {
    const char* section;
    const char* key;
    const char* value;
    double CSearchOptions::*field;
    double expected;
};

class ReadAdjustments : public testing::TestWithParam<Adjustment> {};

TEST_P(ReadAdjustments, AreApplied)
{
    TempDir dir;
    const std::string path = dir.File("adj.spf");
    WriteAllText(path,
                 std::string("[") + GetParam().section + "]\r\n" + GetParam().key + "=" + GetParam().value + "\r\n");
    CSearchOptions options;
    ReadParameterFile(options, path);
    EXPECT_EQ(options.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadAdjustments,
    testing::Values(Adjustment{"Advanced Options", "Window Width", "-3", &CSearchOptions::RTWindowWidth, 0.0},
                    Adjustment{"Advanced Options", "Window Width", "abc", &CSearchOptions::RTWindowWidth, 0.0},
                    Adjustment{"Advanced Options", "Window Width", "0.75", &CSearchOptions::RTWindowWidth, 0.75},
                    Adjustment{"Thresholds", "Mass", "0", &CSearchOptions::MassThreshold, 0.0001},
                    Adjustment{"Thresholds", "Mass", "-1", &CSearchOptions::MassThreshold, 0.0001},
                    Adjustment{"Thresholds", "Mass", "0.0002", &CSearchOptions::MassThreshold, 0.0002},
                    Adjustment{"Thresholds", "Area", "0.00001", &CSearchOptions::AreaThreshold, 0.0001},
                    Adjustment{"Summary Options", "Summary ISTD RT", "\"3.5\"", &CSearchOptions::SummaryISTDRT, 3.5}));

TEST(SearchParameterFile, SpectrumSectionsWithoutLinesAreSkippedAndLinesAreParsed)
{
    TempDir dir;
    const std::string path = dir.File("list.spf");
    WriteAllText(path, "[MassSpecOptions]\nnMassSpecs=3\n"
                       "[MassSpec001]\nName=one\nActive=1\nnMassPeaks=1\nPeak001=(73.00, 999.000) \n"
                       "[MassSpec002]\nName=two\nActive=1\nnMassPeaks=0\nPeak001=(50.00, 10.000) \n"
                       "[MassSpec003]\nName=three\nActive=0\nnMassPeaks=4\nPeak001=(40.00, 1.000) \nPeak002=\n"
                       "Peak004=x41.5,2.25)\npeak003=(42.00)\nPeak003=(99.00, 9.000)\nPeak005=(43.00, 1.000)\n"
                       "[MassSpec004]\nName=beyond the count\nnMassPeaks=1\nPeak001=(1.00, 1.000)\n");
    CSearchOptions options;
    ReadParameterFile(options, path);
    ASSERT_EQ(options.GetSpectraCount(), 2);
    std::string name;
    bool active = true;
    const auto* first = options.GetSpectrum(0, &name, &active);
    EXPECT_EQ(name, "one");
    ASSERT_EQ(first->GetCount(), 1u);
    EXPECT_EQ(first->GetPoint(0)->Mass, 73.0);
    EXPECT_EQ(first->GetPoint(0)->Intensity, 999.0);
    const auto* second = options.GetSpectrum(1, &name, &active);
    EXPECT_EQ(name, "three");
    EXPECT_FALSE(active);
    // Lines in number order; the empty Peak002 skipped; the first Peak003 wins; Peak005 is beyond nMassPeaks.
    ASSERT_EQ(second->GetCount(), 3u);
    EXPECT_EQ(second->GetPoint(0)->Mass, 40.0);
    EXPECT_EQ(second->GetPoint(1)->Mass, 42.0);
    EXPECT_EQ(second->GetPoint(1)->Intensity, 0.0);
    EXPECT_EQ(second->GetPoint(2)->Mass, 41.5);
    EXPECT_EQ(second->GetPoint(2)->Intensity, 2.25);
}

TEST(SearchParameterFile, CalibrationPointsTakeDefaultsInsideTheirSection)
{
    TempDir dir;
    const std::string path = dir.File("ri.spf");
    WriteAllText(path, "[RI Calibration]\nnDataPoints=3\n[RICalPoint001]\nRi=800\n[RICalPoint003]\nName=C9\nRt=2.5\n");
    CSearchOptions options;
    ReadParameterFile(options, path);
    const auto& table = options.RICalibration();
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetPoint(0).GetName(), "RICalPoint001");
    EXPECT_EQ(table.GetPoint(0).GetRI(), 800.0);
    EXPECT_EQ(table.GetPoint(0).GetRT(), 0.0);
    EXPECT_EQ(table.GetPoint(0).GetSpectrum().GetCount(), 0u);
    EXPECT_EQ(table.GetPoint(1).GetName(), "C9");
    EXPECT_EQ(table.GetPoint(1).GetRT(), 2.5);
}

TEST(SearchParameterFile, ShorterListOverLongerFileLeavesSurplusSectionsUnread)
{
    TempDir dir;
    const std::string path = dir.File("shrink.spf");
    CSearchOptions longer;
    for (const char* name : {"a", "b", "c", "d"})
        longer.AddSpectrum(name, Spectrum({{50, 100}}), true);
    ASSERT_TRUE(WriteParameterFile(longer, path));
    CSearchOptions shorter;
    shorter.AddSpectrum("x", Spectrum({{60, 100}}), true);
    ASSERT_TRUE(WriteParameterFile(shorter, path));
    const std::string text = ReadAllText(path);
    EXPECT_NE(text.find("[MassSpec004]\r\nName=d\r\n"), std::string::npos);
    EXPECT_NE(text.find("[MassSpec001]\r\nName=x\r\n"), std::string::npos);
    CSearchOptions read;
    ReadParameterFile(read, path);
    ASSERT_EQ(read.GetSpectraCount(), 1);
    std::string name;
    read.GetSpectrum(0, &name);
    EXPECT_EQ(name, "x");
}

TEST(SearchParameterFile, UnwritablePathFailsAndLeavesNoFile)
{
    TempDir dir;
    EXPECT_FALSE(WriteParameterFile(CSearchOptions(), dir.File("missing-folder/x.spf")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing-folder")));
}

TEST(SearchParameterFile, RemembersTheFolderOfTheChosenPath)
{
    EXPECT_EQ(ParameterFileFolder("/home/a/methods/m.spf"), "/home/a/methods");
    EXPECT_EQ(ParameterFileFolder("C:\\methods/sub\\m.spf"), "C:\\methods/sub");
    EXPECT_EQ(ParameterFileFolder("m.spf"), "");
    TempDir dir;
    auto previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(dir.File("s.ini"), "u"));
    EXPECT_EQ(LastParameterFileFolder(), "");
    RememberParameterFileFolder("/data/methods/a.spf");
    EXPECT_EQ(LastParameterFileFolder(), "/data/methods");
    EXPECT_EQ(ReadAllText(dir.File("s.ini")), "[HKCU u Corvelinscope Settings]\r\nMRUParamPath=/data/methods\r\n");
    SetSettingsStore(previous);
}

} // namespace
