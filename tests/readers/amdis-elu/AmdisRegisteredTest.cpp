// The module as the programs use it: found through the registration in the build tree's settings, chosen by
// ReadFromDataFile for ".elu" files and by the spectra reading for ".msl" files (MSP files still going to the
// MSP reader).
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/ProgramSettingsStore.h"
#include "engine/platform/ProgramFolder.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/plugins/ReadMassSpecsFile.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

const char* kElu = "NAME: |SC10|CN1|FR8-12|RT5.1000|RA1.0|IS900|XN1000\r\n"
                   "RE\r\n"
                   "50 300 200 100 0\r\n"
                   "NUM PEAKS: 2\r\n"
                   "(50,999 )(60,500 )\r\n"
                   "\r\n"
                   "NAME: |SC30|CN2|FR28-33|RT5.3000|RA2.0|IS1900|XN2000\r\n"
                   "RE\r\n"
                   "100 900 200 0 0 0\r\n"
                   "NUM PEAKS: 1\r\n"
                   "(73,999 )\r\n";

class AmdisRegistered : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsLocation location = SettingsLocation::OfRunningProgram();
        location.RegistryFolder = m_registry.File("registry");
        m_previousStore = SetSettingsStore(std::make_shared<CProgramSettingsStore>(location));
        m_plugins = CDatasystemPlugins::LoadFromRegistration(ProgramFolder());
        for (int i = 0; i < m_plugins->GetCount(); ++i) {
            if (m_plugins->GetPlugin(i)->Name == "AMDIS Deconvolution (ELU)")
                m_reader = m_plugins->GetPlugin(i);
        }
        ASSERT_NE(m_reader, nullptr) << "AMDIS reader not registered in " << ProgramFolder();
        ASSERT_TRUE(m_reader->HasModule());
        m_messages.entries.clear();
    }
    void TearDown() override { SetSettingsStore(m_previousStore); }

    TempDir m_registry;
    std::shared_ptr<SettingsStore> m_previousStore;
    RecordingMessageSink m_messages;
    std::unique_ptr<CDatasystemPlugins> m_plugins;
    CDatasystemPlugin* m_reader = nullptr;
    TempDir m_dir;
};

TEST_F(AmdisRegistered, ReadsAnEluFileThroughReadFromDataFile)
{
    EXPECT_EQ(m_reader->Extension, ".elu");
    EXPECT_NE(m_plugins->BuildChromatogramFilter().find("AMDIS Deconvolution Results (*.elu)|*.elu|"),
              std::string::npos);
    const std::string path = m_dir.File("0709_468.ELU"); // the ending matches without regard to case
    WriteAllText(path, kElu);
    CLibraryChromatogram read;
    std::string dataSystem;
    ASSERT_EQ(ReadFromDataFile(*m_plugins, read, path, 0, &dataSystem, true), 1);
    EXPECT_EQ(dataSystem, "AMDIS Deconvolution (ELU)");
    EXPECT_EQ(read.SourcePath, path);
    EXPECT_EQ(read.SampleName, "0709_468");
    ASSERT_EQ(read.PeakCount, 2);
    EXPECT_EQ(read.Peaks[1]->PeakNumber, 2);
    EXPECT_DOUBLE_EQ(read.Peaks[1]->Area * 100 / read.TotalArea, 2.0);
    EXPECT_DOUBLE_EQ(read.Peaks[1]->Height, 900);
    EXPECT_NEAR(read.Peaks[1]->EndRT, 5.33, 1e-9);
    EXPECT_TRUE(m_messages.entries.empty());
}

TEST_F(AmdisRegistered, ADamagedEluFileFailsWithItsReason)
{
    const std::string path = m_dir.File("cut.elu");
    WriteAllText(path, std::string(kElu).substr(0, std::string(kElu).find("(73,999 )")));
    CLibraryChromatogram read;
    EXPECT_THROW(ReadFromDataFile(*m_plugins, read, path, 0, nullptr, true), CArchiveException);
    EXPECT_EQ(read.PeakCount, 0);
    ASSERT_EQ(m_messages.entries.size(), 1u);
    EXPECT_EQ(m_messages.entries[0].text,
              "Error while reading data file " + path +
                  ":\n'Malformed ELU file, line 10: NUM PEAKS announces 1 pairs, 0 found'.");
}

TEST_F(AmdisRegistered, MslLibrariesGoToThisModuleAndMspFilesToTheMspReader)
{
    EXPECT_NE(m_plugins->BuildMassSpecsFilter().find("AMDIS Libraries (*.msl)|*.msl|"), std::string::npos);
    const std::string msl = m_dir.File("FAMES.MSL");
    WriteAllText(msl, "NAME: [C8] Methyl Caprylate\nRI:800.00\nNUM PEAKS:  2 \n( 55  206) ( 74 1000) \n");
    MassSpecsFileContents contents;
    ASSERT_TRUE(ReadMassSpecsFile(m_plugins.get(), msl, contents));
    EXPECT_EQ(contents.Names, std::vector<std::string>{"[C8] Methyl Caprylate"});
    ASSERT_EQ(contents.Spectra.size(), 1u);
    EXPECT_DOUBLE_EQ(contents.Spectra[0]->GetPoint(0)->Intensity, 20.6);

    const std::string msp = m_dir.File("library.msp");
    WriteAllText(msp, "Name: Toluene\nNum Peaks: 2\n91 999\n92 600\n");
    MassSpecsFileContents fromMsp;
    ASSERT_TRUE(ReadMassSpecsFile(m_plugins.get(), msp, fromMsp));
    EXPECT_EQ(fromMsp.Names, std::vector<std::string>{"Toluene"});
    EXPECT_TRUE(m_messages.entries.empty());
}

} // namespace
