// The module's exports, loaded with dlopen from the build tree as the program loads them.
#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <string>

#include "tests/support/MemorySettingsStore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

namespace {

class PeakTableModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_handle = dlopen(PEAK_TABLE_MODULE, RTLD_NOW | RTLD_LOCAL);
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
    ScopedMemorySettings m_settings;
    RecordingMessageSink m_messages;
};

TEST_F(PeakTableModule, RefusesATableWithoutSpectrumSayingWhy)
{
    const std::string path = m_dir.File("areas.csv");
    WriteAllText(path, "Name,RI,rt,Area\nGlycine,1302.6,13.97,898\n");
    EXPECT_EQ(Export<PFN_IsFileReadable>("IsFileReadable")(path.c_str(), 1), EMEDIUMTYPE);
    ASSERT_EQ(m_messages.entries.size(), 1u);
    EXPECT_EQ(m_messages.entries[0].text, "'" + path +
                                              "' is not a peak table: no spectrum column (a header such as "
                                              "SPECTRUM, Spectra, Mass spectrum).");
    EXPECT_EQ(m_messages.entries[0].caption, "File Read Error");

    CLibraryChromatogram chromatogram;
    std::string error;
    EXPECT_NE(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &chromatogram, 0, &error), 0);
    EXPECT_EQ(error, "Not a readable peak table, no spectrum column (a header such as SPECTRUM, Spectra, Mass "
                     "spectrum)");
    EXPECT_EQ(chromatogram.PeakCount, 0);
}

TEST_F(PeakTableModule, RefusesTheProgramsOwnReportNamingIt)
{
    const std::string path = m_dir.File("probe 2026-12-08 10-00.csv");
    WriteAllText(path, "Library search results for = /runs/probe.cdf\nSample Name = probe\n\nLibrary Hits:\n"
                       "\"File\",\"Forw RT\",\"Spectrum\",\n\"a.ChromLibEntry\",\"0.9\",\"73:100\",\n");
    EXPECT_EQ(Export<PFN_IsFileReadable>("IsFileReadable")(path.c_str(), 1), EMEDIUMTYPE);
    ASSERT_EQ(m_messages.entries.size(), 1u);
    EXPECT_EQ(m_messages.entries[0].text, "'" + path +
                                              "' is a Corvelinscope library search report, not a chromatogram. Open "
                                              "it in a spreadsheet, or choose the run the report was made from.");
    CLibraryChromatogram chromatogram;
    std::string error;
    EXPECT_NE(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &chromatogram, 0, &error), 0);
    EXPECT_NE(error.find("library search report, not a chromatogram"), std::string::npos) << error;
}

TEST_F(PeakTableModule, ReadsWithTheLabsOwnColumnNamesFromItsSettingsSection)
{
    const std::string path = m_dir.File("lab.tsv");
    WriteAllText(path, "Zeit\tIonen\tFlaeche\n30\t73:100 75:20\t400\n60\t73:10\t100\n");
    EXPECT_NE(Export<PFN_IsFileReadable>("IsFileReadable")(path.c_str(), 0), 0);

    char section[kPluginBufferSize] = "Plugins\\PeakTableTsv";
    Export<PFN_SetRegistryPath>("SetRegistryPath")(section);
    m_settings->WriteSettingString(SettingsScope::LocalMachine, section, nullptr, "RT Column", "Zeit");
    m_settings->WriteSettingString(SettingsScope::LocalMachine, section, nullptr, "Spectrum Column", "Massen|Ionen");
    m_settings->WriteSettingString(SettingsScope::LocalMachine, section, nullptr, "Area Column", "Flaeche");
    m_settings->WriteSettingString(SettingsScope::LocalMachine, section, nullptr, "RT Unit", "sec");
    ASSERT_EQ(Export<PFN_IsFileReadable>("IsFileReadable")(path.c_str(), 0), 0);

    CLibraryChromatogram chromatogram;
    std::string error;
    ASSERT_EQ(Export<PFN_ReadFromDataSystem>("ReadFromDataSystem")(path.c_str(), &chromatogram, 0, &error), 0) << error;
    ASSERT_EQ(chromatogram.PeakCount, 2);
    EXPECT_DOUBLE_EQ(chromatogram.GetPeak(0)->RT, 0.5); // 30 s: the lab's unit, not the rule for unitless times
    EXPECT_DOUBLE_EQ(chromatogram.TotalArea, 500);

    char name[kPluginBufferSize] = {};
    Export<PFN_GetDataSystemName>("GetDataSystemName")(name);
    EXPECT_STREQ(name, "Peak Table");
    Export<PFN_ResetChromatogram>("ResetChromatogram")(&chromatogram);
    EXPECT_EQ(chromatogram.PeakCount, 0);
}

} // namespace
