// The real bundled reader modules, loaded the way the programs load them: through the registration that the build
// wrote into the settings of the build tree's program folder (this test program lives there too).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
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

class BundledReadersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The settings of this program folder, as the programs see them; only the registry files (not used
        // unless a machine switches to them) are kept away from the user's real ones.
        SettingsLocation location = SettingsLocation::OfRunningProgram();
        location.RegistryFolder = registryDir.File("registry");
        previousStore = SetSettingsStore(std::make_shared<CProgramSettingsStore>(location));
        plugins = CDatasystemPlugins::LoadFromRegistration(ProgramFolder());
        for (int i = 0; i < plugins->GetCount(); ++i) {
            CDatasystemPlugin* p = plugins->GetPlugin(i);
            if (p->Name == "Corvelinscope Library Entry")
                entryReader = p;
            if (p->Name == "NIST MSP Spectra")
                mspReader = p;
        }
        ASSERT_NE(entryReader, nullptr) << "library entry reader not registered in " << ProgramFolder();
        ASSERT_NE(mspReader, nullptr) << "MSP reader not registered in " << ProgramFolder();
        ASSERT_TRUE(entryReader->HasModule());
        ASSERT_TRUE(mspReader->HasModule());
        messages.entries.clear();
    }
    void TearDown() override { SetSettingsStore(previousStore); }

    TempDir registryDir;
    std::shared_ptr<SettingsStore> previousStore;
    RecordingMessageSink messages;
    std::unique_ptr<CDatasystemPlugins> plugins;
    CDatasystemPlugin* entryReader = nullptr;
    CDatasystemPlugin* mspReader = nullptr;
    TempDir dir;
};

TEST_F(BundledReadersTest, RegistrationPointsIntoTheBuildTreesPluginFolder)
{
    EXPECT_EQ(entryReader->Extension, ".ChromLibEntry");
    EXPECT_EQ(entryReader->Filter, "Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry");
    EXPECT_NE(entryReader->RegisteredPath.front(), '/'); // relative to the program folder
    EXPECT_NE(plugins->BuildChromatogramFilter().find("Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry|"),
              std::string::npos);
    EXPECT_NE(plugins->BuildMassSpecsFilter().find("NIST MSP Spectra (*.msp)|*.msp;*.MSP|"), std::string::npos);
}

TEST_F(BundledReadersTest, ReadsALibraryEntry)
{
    CLibraryChromatogram entry;
    entry.SampleName = "Bundled sample";
    entry.TotalArea = 1000;
    for (int i = 0; i < 4; ++i) {
        CLibraryChromatogramPeakData& peak = entry.AddPeak();
        peak.RT = 2.0 + i;
        peak.Area = i == 0 ? 10 : 330; // the first is 1 % of the total
        peak.Height = 50;
        peak.RI = 1000 + 100 * i;
        peak.Spectrum.Append(CLibraryMassSpectrumPoint(73.0, 100.0));
        peak.Spectrum.ApplyWeighting();
    }
    const std::string path = dir.File("Sample 1.ChromLibEntry");
    entry.SaveEntry(path);

    CLibraryChromatogram read;
    std::string dataSystem;
    ASSERT_EQ(ReadFromDataFile(*plugins, read, path, 0, &dataSystem, true), 1);
    EXPECT_EQ(dataSystem.rfind("Corvelinscope", 0), 0u) << dataSystem;
    EXPECT_EQ(read.SampleName, "Bundled sample");
    EXPECT_EQ(read.SourcePath, path);
    ASSERT_EQ(read.Peaks.size(), 4u);
    EXPECT_DOUBLE_EQ(read.Peaks[3]->RI, 1300);
    EXPECT_EQ(read.Peaks[3]->PeakNumber, 4);

    // With a minimum area of 2 % the first peak is left out.
    ASSERT_EQ(ReadFromDataFile(*plugins, read, path, 2.0, nullptr, true), 1);
    ASSERT_EQ(read.Peaks.size(), 3u);
    EXPECT_EQ(read.Peaks[0]->PeakNumber, 1);
    EXPECT_DOUBLE_EQ(read.Peaks[0]->RT, 3.0);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(BundledReadersTest, AMissingEntryIsRefusedWithTheSystemText)
{
    CLibraryChromatogram read;
    const std::string path = dir.File("missing.ChromLibEntry");
    EXPECT_THROW(ReadFromDataFile(*plugins, read, path, 0, nullptr, true), CNotSupportedException);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error reading file '" + path + "'\nError = " + std::strerror(ENOENT)});
}

TEST_F(BundledReadersTest, ReadsAnMspLibraryThroughTheSpectraExports)
{
    const std::string path = dir.File("library.MSP");
    WriteAllText(path, "Name: Toluene\r\nNum Peaks: 3\r\n91 999; 92 600; 65 100;\r\n\r\n"
                       "Name: Benzene\r\nComment: test\r\nNum Peaks: 2\r\n78 999\r\n77 200\r\n");
    MassSpecsFileContents contents;
    ASSERT_TRUE(ReadMassSpecsFile(plugins.get(), path, contents));
    EXPECT_EQ(contents.Names, (std::vector<std::string>{"Toluene", "Benzene"}));
    ASSERT_EQ(contents.Spectra.size(), 2u);
    const CLibraryMassSpectrumData& toluene = *contents.Spectra[0];
    ASSERT_EQ(toluene.GetCount(), 3u);
    EXPECT_DOUBLE_EQ(toluene.GetPoint(0)->Mass, 65);
    EXPECT_DOUBLE_EQ(toluene.GetPoint(1)->Intensity, 100); // m/z 91
    EXPECT_DOUBLE_EQ(toluene.GetPoint(1)->WeightedIntensity, 100);
    EXPECT_NEAR(toluene.GetPoint(2)->Intensity, 60.06, 0.01);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(BundledReadersTest, AMalformedMspFailsCleanly)
{
    const std::string path = dir.File("broken.msp");
    WriteAllText(path, "Name: Broken\nNum Peaks: 1000000000\n91 999\n");
    MassSpecsFileContents contents;
    EXPECT_TRUE(ReadMassSpecsFile(plugins.get(), path, contents));
    EXPECT_TRUE(contents.Spectra.empty());
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("line 2"), std::string::npos) << messages.entries[0].text;
}

TEST_F(BundledReadersTest, AnMspOfferedAsAChromatogramIsRefused)
{
    const std::string path = dir.File("library.msp");
    WriteAllText(path, "Name: X\nNum Peaks: 1\n50 10\n");
    CLibraryChromatogram read;
    EXPECT_THROW(ReadFromDataFile(*plugins, read, path, 0, nullptr, true), CNotSupportedException);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error reading file '" + path + "'\nError = " + std::strerror(ENOTSUP)});
}

} // namespace
