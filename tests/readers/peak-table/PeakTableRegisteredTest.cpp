// The module as the programs use it: registered once per file ending in the build tree's settings, chosen by
// ReadFromDataFile for each of them; a table's own RIs survive the program's RI rule.
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/ProgramSettingsStore.h"
#include "engine/platform/ProgramFolder.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/workflow/InputRICalibration.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

class PeakTableRegistered : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsLocation location = SettingsLocation::OfRunningProgram();
        location.RegistryFolder = m_registry.File("registry");
        m_previousStore = SetSettingsStore(std::make_shared<CProgramSettingsStore>(location));
        m_plugins = CDatasystemPlugins::LoadFromRegistration(ProgramFolder());
        m_messages.entries.clear();
    }
    void TearDown() override { SetSettingsStore(m_previousStore); }

    TempDir m_registry;
    std::shared_ptr<SettingsStore> m_previousStore;
    RecordingMessageSink m_messages;
    std::unique_ptr<CDatasystemPlugins> m_plugins;
    TempDir m_dir;
};

TEST_F(PeakTableRegistered, EveryEndingIsReadAndTheTablesRIsAreKept)
{
    const std::string filter = m_plugins->BuildChromatogramFilter();
    for (const char* ending : {".txt", ".TSV", ".csv", ".tof"}) {
        const std::string path = m_dir.File(std::string("run") + ending);
        WriteAllText(path, "RT (min)\tRI\tSpectrum\n5\t1000\t73:100\n6\t1100\t73:50 147:100\n7\t0\t73:1\n");
        CLibraryChromatogram read;
        std::string dataSystem;
        ASSERT_EQ(ReadFromDataFile(*m_plugins, read, path, 0, &dataSystem, true), 1) << ending;
        EXPECT_EQ(dataSystem, "Peak Table");
        ASSERT_EQ(read.PeakCount, 3);
        // The table carries its calibration, so the program does not replace its RIs by the options' table.
        EXPECT_FALSE(NeedsInputRICalibration(dataSystem, read));
        EXPECT_DOUBLE_EQ(read.Peaks[1]->RI, 1100);
        EXPECT_DOUBLE_EQ(read.Peaks[2]->RI, 1200); // RI 0 in the table: from the table's calibration
    }
    for (const char* pattern : {"|*.txt|", "|*.tsv|", "|*.csv|", "|*.tof|"})
        EXPECT_NE(filter.find(pattern), std::string::npos) << pattern;
    EXPECT_TRUE(m_messages.entries.empty());
}

} // namespace
