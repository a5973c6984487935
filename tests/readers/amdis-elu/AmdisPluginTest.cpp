// The module's exports, loaded with dlopen from the build tree as the program loads them.
#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <string>

#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"
#include "engine/options/IniSettings.h"
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

namespace {

const char* kElu = "NAME: |SC10|CN1|FR8-12|RT5.1000|RA1.0|IS900|XN1000\r\n"
                   "RE\r\n"
                   "50 300 200 100 0\r\n"
                   "NUM PEAKS: 3\r\n"
                   "(50,999 )(60,500 )\r\n"
                   "(70,30 N0.2)\r\n"
                   "\r\n"
                   "NAME: |SC30|CN2|FR28-33|RT5.3000|RA2.0|IS1900|XN2000\r\n"
                   "RE\r\n"
                   "100 900 200 0 0 0\r\n"
                   "NUM PEAKS: 1\r\n"
                   "(73,999 )\r\n"
                   "\r\n";

class AmdisModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_handle = dlopen(AMDIS_ELU_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
    }
    void TearDown() override
    {
        if (m_handle != nullptr)
            dlclose(m_handle);
    }
    template <typename F> F Export(const char* name)
    {
        auto f = reinterpret_cast<F>(dlsym(m_handle, name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    void* m_handle = nullptr;
    TempDir m_dir;
};

TEST_F(AmdisModule, ReadsAnEluFileIntoTheExchangeRecord)
{
    const std::string path = m_dir.File("run.ELU");
    WriteAllText(path, kElu);
    ASSERT_EQ(Export<PFN_IsFileReadable>("IsFileReadable")(path.c_str(), 1), 0);

    CLibraryChromatogram chromatogram;
    std::string error;
    ASSERT_EQ(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &chromatogram, 0, &error), 0) << error;
    ASSERT_EQ(chromatogram.PeakCount, 2);
    EXPECT_DOUBLE_EQ(chromatogram.TotalArea, 100000);
    EXPECT_DOUBLE_EQ(chromatogram.GetPeak(1)->Area, 2000);
    EXPECT_EQ(chromatogram.GetPeak(0)->Spectrum.GetCount(), 2u); // the flagged line left out
    EXPECT_NEAR(chromatogram.GetPeak(0)->StartRT, 5.08, 1e-9);

    // The minimum area in percent of the total.
    CLibraryChromatogram filtered;
    ASSERT_EQ(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &filtered, 1.5, &error), 0);
    ASSERT_EQ(filtered.PeakCount, 1);
    EXPECT_DOUBLE_EQ(filtered.GetPeak(0)->RT, 5.3);
    EXPECT_EQ(filtered.GetPeak(0)->PeakNumber, 1);

    Export<PFN_ResetChromatogram>("ResetChromatogram")(&chromatogram);
    EXPECT_EQ(chromatogram.PeakCount, 0);
    EXPECT_TRUE(chromatogram.Peaks.empty());

    char name[kPluginBufferSize] = {};
    Export<PFN_GetDataSystemName>("GetDataSystemName")(name);
    EXPECT_STREQ(name, "AMDIS Deconvolution (ELU)");
}

TEST_F(AmdisModule, KeepsFlaggedLinesWhenItsSettingsSectionSaysSo)
{
    auto store = std::make_shared<CIniSettingsStore>(m_dir.File("settings.ini"), "tester");
    const auto previous = SetSettingsStore(store);
    const std::string path = m_dir.File("run.elu");
    WriteAllText(path, kElu);
    char section[kPluginBufferSize] = "Plugins\\AmdisElu";
    Export<PFN_SetRegistryPath>("SetRegistryPath")(section);
    const auto read = Export<PFN_ReadFromDataSystem>("ReadFromDataSystem");
    std::string error;

    CLibraryChromatogram byDefault;
    ASSERT_EQ(read(path.c_str(), &byDefault, 0, &error), 0) << error;
    store->WriteSettingInt(SettingsScope::LocalMachine, "Plugins\\AmdisElu", nullptr, "Keep Flagged Ions", 1);
    CLibraryChromatogram keeping;
    ASSERT_EQ(read(path.c_str(), &keeping, 0, &error), 0) << error;
    SetSettingsStore(previous);

    EXPECT_EQ(byDefault.GetPeak(0)->Spectrum.GetCount(), 2u);
    ASSERT_EQ(keeping.GetPeak(0)->Spectrum.GetCount(), 3u);
    EXPECT_DOUBLE_EQ(keeping.GetPeak(0)->Spectrum.GetPoint(2)->Mass, 70);
}

TEST_F(AmdisModule, RefusesFilesThatAreNotEluWithACodeAndAMessageOnlyWhenAsked)
{
    RecordingMessageSink sink;
    const std::string msl = m_dir.File("lib.elu");
    WriteAllText(msl, "NAME:x\nNUM PEAKS:1\n(50 999)\n");
    const auto isReadable = Export<PFN_IsFileReadable>("IsFileReadable");
    EXPECT_EQ(isReadable(msl.c_str(), 0), EINVAL);
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_EQ(isReadable(msl.c_str(), 1), EINVAL);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text, "'" + msl + "' is not an AMDIS ELU file.");
    EXPECT_EQ(sink.entries[0].caption, "File Read Error");

    EXPECT_EQ(isReadable(m_dir.File("missing.elu").c_str(), 0), ENOENT);
    EXPECT_NE(isReadable(m_dir.Path().string().c_str(), 0), 0); // a folder
}

TEST_F(AmdisModule, MalformedFileFailsWithTheReasonAndLeavesTheRecordEmpty)
{
    const std::string path = m_dir.File("cut.elu");
    std::string text = kElu;
    WriteAllText(path, text.substr(0, text.find("(73,999 )"))); // cut inside the second peak list
    CLibraryChromatogram chromatogram;
    std::string error;
    EXPECT_NE(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &chromatogram, 0, &error), 0);
    EXPECT_EQ(error, "Malformed ELU file, line 11: NUM PEAKS announces 1 pairs, 0 found");
    EXPECT_EQ(chromatogram.PeakCount, 0);
    EXPECT_TRUE(chromatogram.Peaks.empty());

    EXPECT_NE(
        Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(m_dir.File("none.elu").c_str(), &chromatogram, 0, &error),
        0);
    EXPECT_NE(error.find("none.elu"), std::string::npos);
}

TEST_F(AmdisModule, ReadsMslLibrariesAndEluComponentsAsSpectra)
{
    RecordingMessageSink sink;
    std::string filter, ending;
    Export<PFN_GetMassSpecsReadFilter>("GetMassSpecsReadFilter")(&filter, &ending);
    EXPECT_EQ(filter, "AMDIS Libraries (*.msl)|*.msl|");
    EXPECT_EQ(ending, ".msl");

    const std::string msl = m_dir.File("lib.MSL");
    WriteAllText(msl, "NAME:first\r\nRT:1.0\r\nNUM PEAKS:2\r\n(51 500) (50 1000)\r\n\r\n"
                      "NAME:broken\r\nNUM PEAKS:3\r\n(50 1)\r\n\r\n"
                      "NAME:second\r\nNUM PEAKS:1\r\n(70 10)\r\n");
    const std::string msp = m_dir.File("lib.msp");
    WriteAllText(msp, "Name: x\nNum Peaks: 1\n70 10\n");
    const std::string elu = m_dir.File("run.elu");
    WriteAllText(elu, kElu);
    const auto isReadable = Export<PFN_IsMassSpecsFileReadable>("IsMassSpecsFileReadable");
    EXPECT_NE(isReadable(msl.c_str()), 0);
    EXPECT_NE(isReadable(elu.c_str()), 0);
    EXPECT_EQ(isReadable(msp.c_str()), 0);
    EXPECT_EQ(isReadable(m_dir.File("missing.msl").c_str()), 0);

    const auto read = Export<PFN_ReadMassSpecs>("ReadMassSpecs");
    const auto release = Export<PFN_FreeMassSpecs>("FreeMassSpecs");
    PluginMassSpecArray spectra;
    PluginStringArray names;
    read(msl.c_str(), &spectra, &names);
    ASSERT_EQ(spectra.size(), 2u);
    EXPECT_EQ(names, (PluginStringArray{"first", "second"}));
    ASSERT_EQ(spectra[0]->GetCount(), 2u);
    EXPECT_DOUBLE_EQ(spectra[0]->GetPoint(0)->Mass, 50);
    EXPECT_DOUBLE_EQ(spectra[0]->GetPoint(0)->Intensity, 100);
    EXPECT_DOUBLE_EQ(spectra[0]->GetPoint(1)->Intensity, 50);
    EXPECT_GT(spectra[0]->GetPoint(1)->WeightedIntensity, 0);
    ASSERT_EQ(sink.entries.size(), 1u); // the broken entry, named with its reason
    EXPECT_EQ(sink.entries[0].text,
              "1 malformed entries of '" + msl + "' were left out:\nline 7: NUM PEAKS announces 3 pairs, 1 found");
    EXPECT_EQ(sink.entries[0].caption, "AMDIS Reader");
    release(&spectra, &names);
    EXPECT_TRUE(spectra.empty());
    EXPECT_TRUE(names.empty());

    read(elu.c_str(), &spectra, &names);
    EXPECT_EQ(names, (PluginStringArray{"RT 5.1000 min, component 1", "RT 5.3000 min, component 2"}));
    EXPECT_EQ(spectra.size(), 2u);
    release(&spectra, &names);

    // A damaged ELU file gives no spectra, and the user is told why.
    const std::string cut = m_dir.File("cut.elu");
    WriteAllText(cut, std::string(kElu).substr(0, std::string(kElu).find("(73,999 )")));
    sink.entries.clear();
    read(cut.c_str(), &spectra, &names);
    EXPECT_TRUE(spectra.empty());
    EXPECT_TRUE(names.empty());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].text,
              "The spectra file '" + cut + "' is not a valid ELU file:\nline 11: NUM PEAKS announces 1 pairs, 0 found");
}

} // namespace
