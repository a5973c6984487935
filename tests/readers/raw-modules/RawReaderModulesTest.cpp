#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "tests/readers/common/AndiWriter.h"
#include "tests/readers/common/JcampWriter.h"
#include "tests/readers/common/MzmlWriter.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "tests/support/MemorySettingsStore.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/workflow/RunDisplay.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

using namespace synthetic;

namespace {

// Both raw-data modules registered the way the build registers them, loaded through the plug-in list.
class RawReaderModules : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 3);
        Register(0, "ANDI-MS", CORVELIN_ANDI_MODULE, ".cdf");
        Register(1, "JCAMP-GCMS", CORVELIN_JCAMP_MODULE, ".jdx");
        Register(2, "MZML", CORVELIN_MZML_MODULE, ".mzML");
        m_plugins = CDatasystemPlugins::LoadFromRegistration("/nowhere/");
        ASSERT_EQ(m_plugins->GetCount(), 3);
        ASSERT_TRUE(m_plugins->GetPlugin(0)->HasModule());
        ASSERT_TRUE(m_plugins->GetPlugin(1)->HasModule());
        RunSpec spec;
        spec.Components = ThreeComponents();
        m_spec = spec;
        WriteAndi(m_dir.File("MIX.CDF"), MakeScans(spec), AndiLayout{});
        WriteAllText(m_dir.File("MIX.JDX"), WriteJcamp(MakeScans(spec), Dialect::PagesAndRetentionTime));
        WriteMzml(MakeScans(spec), m_dir.File("MIX.mzML"));
    }

    void Register(int slot, const std::string& key, const std::string& path, const char* extension)
    {
        const std::string slotName = "Plugin" + std::to_string(slot);
        const std::string section = "Plugins\\" + key;
        m_settings->WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, slotName.c_str(), key.c_str());
        m_settings->WriteSettingString(SettingsScope::LocalMachine, section.c_str(), nullptr, "Path", path.c_str());
        m_settings->WriteSettingString(SettingsScope::LocalMachine, section.c_str(), nullptr, "Extension", extension);
    }

    int Read(CLibraryChromatogram& c, const std::string& file, double minArea, std::string* name = nullptr)
    {
        return ReadFromDataFile(*m_plugins, c, m_dir.File(file), minArea, name, false);
    }

    ScopedMemorySettings m_settings;
    RecordingMessageSink m_messages;
    TempDir m_dir;
    RunSpec m_spec;
    std::unique_ptr<CDatasystemPlugins> m_plugins;
};

TEST_F(RawReaderModules, ReadTheRunsWithPeaksSpectraAndOwnNames)
{
    for (const char* file : {"MIX.CDF", "MIX.JDX"}) {
        SCOPED_TRACE(file);
        CLibraryChromatogram c;
        std::string name;
        ASSERT_EQ(Read(c, file, 0, &name), 1);
        EXPECT_FALSE(name.empty());
        EXPECT_NE(name.rfind("Corvelinscope", 0), 0u) << "unknowns must be recalibrated: " << name;
        EXPECT_EQ(c.SourcePath, m_dir.File(file));
        ASSERT_EQ(c.PeakCount, 3);
        double areaSum = 0;
        for (int i = 0; i < 3; ++i) {
            const auto* p = c.GetPeak(i);
            EXPECT_EQ(p->PeakNumber, i + 1);
            EXPECT_NEAR(p->RT * 60, m_spec.Components[i].ApexSeconds, m_spec.IntervalSeconds);
            EXPECT_GE(MSMatch(p->Spectrum, ExpectedSpectrum(m_spec.Components[i]), 0), 0.99);
            areaSum += p->Area;
        }
        EXPECT_DOUBLE_EQ(c.TotalArea, areaSum); // no filter: the peaks' Area % add up to 100
        EXPECT_GT(c.TotalHeight, 0);
    }
    EXPECT_TRUE(m_messages.entries.empty());
}

TEST_F(RawReaderModules, MinimumAreaPercentDropsSmallPeaksAndKeepsTotals)
{
    // Areas of the mix: about 46 %, 37 % and 17 %.
    CLibraryChromatogram all, filtered;
    ASSERT_EQ(Read(all, "MIX.JDX", 0), 1);
    ASSERT_EQ(Read(filtered, "MIX.JDX", 20.0), 1);
    ASSERT_EQ(filtered.PeakCount, 2);
    EXPECT_EQ(filtered.GetPeak(1)->PeakNumber, 2);
    EXPECT_DOUBLE_EQ(filtered.TotalArea, all.TotalArea);
    EXPECT_DOUBLE_EQ(filtered.GetPeak(1)->Area, all.GetPeak(1)->Area);
}

TEST_F(RawReaderModules, DetectorParametersComeFromThePluginsOwnSection)
{
    m_settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins\\ANDI-MS", nullptr, "MaxPeaks", 1);
    CLibraryChromatogram andi, jcamp;
    ASSERT_EQ(Read(andi, "MIX.CDF", 0), 1);
    ASSERT_EQ(Read(jcamp, "MIX.JDX", 0), 1);
    ASSERT_EQ(andi.PeakCount, 1); // the largest peak
    EXPECT_NEAR(andi.GetPeak(0)->RT * 60, m_spec.Components[0].ApexSeconds, m_spec.IntervalSeconds);
    EXPECT_EQ(jcamp.PeakCount, 3); // the other plug-in's section is untouched

    // A signal-to-noise limit above the smallest peak's leaves it out.
    m_settings->WriteSettingString(SettingsScope::LocalMachine, "Plugins\\JCAMP-GCMS", nullptr, "SignalToNoise", "1e9");
    CLibraryChromatogram strict;
    ASSERT_EQ(Read(strict, "MIX.JDX", 0), 1);
    EXPECT_EQ(strict.PeakCount, 0);
}

// The text up to a data line in its middle, ending in half a pair: a copy that stopped mid-scan.
std::string CutAfterDataLine(const std::string& text)
{
    return text.substr(0, text.find("\n ", text.size() / 2)) + "\n 91.0";
}

struct Refused {
    const char* file;
    std::string bytes;
    int code;
};

TEST_F(RawReaderModules, NonRunsAreRefusedWithTheSystemText)
{
    const Refused cases[] = {
        {"ARCHIVE.CDF", std::string("PK\x03\x04", 4) + "zip", EMEDIUMTYPE},
        {"SPECTRUM.JDX", "##TITLE= x\n##NPOINTS= 1\n##XYDATA= (XY..XY)\n91, 100\n##END=\n", EMEDIUMTYPE},
        {"CUT.JDX", CutAfterDataLine(WriteJcamp(MakeScans(m_spec), Dialect::PagesAndRetentionTime)), EBADMSG},
    };
    for (const Refused& r : cases) {
        SCOPED_TRACE(r.file);
        m_messages.entries.clear();
        WriteAllText(m_dir.File(r.file), r.bytes);
        CLibraryChromatogram c;
        EXPECT_THROW(Read(c, r.file, 0), CNotSupportedException);
        EXPECT_EQ(c.PeakCount, 0);
        ASSERT_EQ(m_messages.Texts().size(), 1u);
        EXPECT_EQ(m_messages.Texts()[0],
                  "Error reading file '" + m_dir.File(r.file) + "'\nError = " + std::strerror(r.code));
    }
}

TEST_F(RawReaderModules, WithMessagesTheModuleSaysWhy)
{
    WriteAllText(m_dir.File("ARCHIVE.CDF"), std::string("PK\x03\x04", 4) + "zip");
    CLibraryChromatogram c;
    EXPECT_THROW(ReadFromDataFile(*m_plugins, c, m_dir.File("ARCHIVE.CDF"), 0, nullptr, true), CNotSupportedException);
    ASSERT_EQ(m_messages.entries.size(), 2u);
    EXPECT_EQ(m_messages.entries[0].caption, "File Read Error");
    EXPECT_NE(m_messages.entries[0].text.find("is a ZIP archive, not a netCDF file"), std::string::npos);
}

// The marks the program draws on a run are the peaks a conversion of the run writes: the same detector with the
// same settings, for every raw-data module.
TEST_F(RawReaderModules, RunDisplayMarksThePeaksAConversionWrites)
{
    for (const char* file : {"MIX.CDF", "MIX.JDX", "MIX.mzML"}) {
        for (const double minArea : {0.0, 20.0}) {
            SCOPED_TRACE(std::string(file) + " min area " + std::to_string(minArea));
            const std::optional<CRunDisplay> shown = ReadRunDisplay(*m_plugins, m_dir.File(file), minArea, false);
            ASSERT_TRUE(shown.has_value());
            EXPECT_EQ(shown->Source.Run.ScanCount(), static_cast<std::size_t>(m_spec.Scans));
            CLibraryChromatogram converted;
            ASSERT_EQ(Read(converted, file, minArea), 1);
            ASSERT_EQ(shown->Peaks.Peaks.size(), static_cast<std::size_t>(converted.PeakCount));
            EXPECT_EQ(converted.PeakCount, minArea > 0 ? 2 : 3);
            for (int i = 0; i < converted.PeakCount; ++i) {
                EXPECT_DOUBLE_EQ(shown->Peaks.Peaks[i].RT, converted.GetPeak(i)->RT);
                EXPECT_DOUBLE_EQ(shown->Peaks.Peaks[i].Area, converted.GetPeak(i)->Area);
            }
        }
    }
}

// "Detect again" with a stricter setting changes the marks at once and the next conversion the same way; the
// settings land in the run's own module section only.
TEST_F(RawReaderModules, DetectAgainChangesTheMarksAndTheNextConversion)
{
    std::optional<CRunDisplay> shown = ReadRunDisplay(*m_plugins, m_dir.File("MIX.JDX"), 0, false);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->Source.SettingsSection, "Plugins\\JCAMP-GCMS");
    ASSERT_EQ(shown->Peaks.Peaks.size(), 3u);
    CPeakDetectorSettings settings = shown->Settings;
    settings.MaxPeaks = 2;
    DetectAgain(*shown, settings);
    ASSERT_EQ(shown->Peaks.Peaks.size(), 2u);
    EXPECT_EQ(m_settings->GetSettingInt(SettingsScope::LocalMachine, "Plugins\\JCAMP-GCMS", nullptr, "MaxPeaks", 0), 2);

    CLibraryChromatogram next, other;
    ASSERT_EQ(Read(next, "MIX.JDX", 0), 1);
    ASSERT_EQ(next.PeakCount, 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_DOUBLE_EQ(next.GetPeak(i)->RT, shown->Peaks.Peaks[i].RT);
    ASSERT_EQ(Read(other, "MIX.CDF", 0), 1);
    EXPECT_EQ(other.PeakCount, 3);

    settings.MaxPeaks = 0;
    settings.SignalToNoise = 1e6;
    DetectAgain(*shown, settings);
    EXPECT_TRUE(shown->Peaks.Peaks.empty());
    ASSERT_EQ(Read(next, "MIX.JDX", 0), 1);
    EXPECT_EQ(next.PeakCount, 0);
}

// The run the module hands over through the C export is the run of the file: times and total-ion current.
TEST_F(RawReaderModules, ScanRunExportHandsOverTimesAndTotalIonCurrent)
{
    const std::vector<Scan> scans = MakeScans(m_spec);
    const std::optional<CPluginScanRun> run = ReadScanRunFromDataFile(*m_plugins, m_dir.File("MIX.CDF"), false);
    ASSERT_TRUE(run.has_value());
    ASSERT_EQ(run->TotalIonCurrent.size(), scans.size());
    for (std::size_t s = 0; s < scans.size(); ++s) {
        double sum = 0;
        for (const auto& [mass, intensity] : scans[s].Lines)
            sum += intensity;
        EXPECT_NEAR(run->Run.Time(s) * 60, scans[s].Seconds, 1e-6);
        EXPECT_NEAR(run->TotalIonCurrent[s], sum, 1e-6 * sum + 1e-3);
    }
    EXPECT_THROW(ReadScanRunFromDataFile(*m_plugins, m_dir.File("missing.jdx"), false), CNotSupportedException);
}

} // namespace
