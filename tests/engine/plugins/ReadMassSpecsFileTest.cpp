#include "tests/engine/plugins/PluginTestFixture.h"
#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/ReadMassSpecsFile.h"

using namespace corvelin;

namespace {

using ReadMassSpecsFileTest = PluginTest;

TEST_F(ReadMassSpecsFileTest, TheFirstPluginThatAcceptsReadsAndGetsItsObjectsBack)
{
    Register(0, "A", "test_plugin_a.so", ".a"); // answers 0: not its file
    Register(1, "B", "test_plugin_b.so", ".b");
    SetInt("B", "MassSpecsReadable", 1);
    const auto list = Load();
    MassSpecsFileContents contents;
    ASSERT_TRUE(ReadMassSpecsFile(list.get(), "/spectra/lib.txt", contents));
    ASSERT_EQ(contents.Spectra.size(), 2u);
    EXPECT_EQ(contents.Names, (std::vector<std::string>{"Spectrum 1 of Plugins\\B", "Spectrum 2 of Plugins\\B"}));
    const CLibraryMassSpectrumData& second = *contents.Spectra[1];
    ASSERT_EQ(second.GetCount(), 2u);
    EXPECT_EQ(*second.GetPoint(0), CLibraryMassSpectrumPoint(51.0, 100.0, 100.0));
    EXPECT_EQ(*second.GetPoint(1), CLibraryMassSpectrumPoint(61.0, 50.0, 40.0));
    EXPECT_EQ(Int("B", "FreeCalls"), 1);
    EXPECT_EQ(Int("A", "FreeCalls"), 0);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(ReadMassSpecsFileTest, OnlyPairsPresentOnBothSidesAreKept)
{
    Register(0, "A", "test_plugin_a.so", ".a");
    SetInt("A", "MassSpecsReadable", 1);
    SetInt("A", "SpectraCount", 2);
    SetInt("A", "NameCount", 3);
    MassSpecsFileContents contents;
    ASSERT_TRUE(ReadMassSpecsFile(Load().get(), "/spectra/lib.msp", contents));
    EXPECT_EQ(contents.Spectra.size(), 2u);
    EXPECT_EQ(contents.Names.size(), 2u);
}

TEST_F(ReadMassSpecsFileTest, NoListOrAnEmptyOneIsAUserError)
{
    MassSpecsFileContents contents;
    EXPECT_THROW(ReadMassSpecsFile(nullptr, "/spectra/lib.msp", contents), CUserException);
    CDatasystemPlugins empty;
    EXPECT_THROW(ReadMassSpecsFile(&empty, "/spectra/lib.msp", contents), CUserException);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>(2, "CSearchMassspecs::OnAdd: Error reading number of file types plugins."));
}

TEST_F(ReadMassSpecsFileTest, NoAcceptingPluginIsReported)
{
    Register(0, "A", "test_plugin_a.so", ".msp");
    Register(1, "Broken", "no-such-module.so", ".msp");
    const auto list = Load();
    messages.entries.clear();
    MassSpecsFileContents contents;
    EXPECT_FALSE(ReadMassSpecsFile(list.get(), "/spectra/lib.msp", contents));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text,
              "Error while reading mass specs from file '/spectra/lib.msp'.\nCould not find feasable plugin.");
    EXPECT_EQ(messages.entries[0].caption, "Error");
    EXPECT_EQ(messages.entries[0].icon, MessageIcon::Stop);
}

TEST_F(ReadMassSpecsFileTest, AnAcceptingPluginWithoutReadMassSpecsIsReported)
{
    Register(0, "Bare", "test_plugin_bare.so", "");
    MassSpecsFileContents contents;
    EXPECT_FALSE(ReadMassSpecsFile(Load().get(), "/spectra/lib.msp", contents));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].text,
              "Plugin Error: ReadMassSpecs function missing in '" + ModuleFolder() + "test_plugin_bare.so'.\n");
    EXPECT_EQ(messages.entries[0].caption, "Plugin Error");
    EXPECT_TRUE(contents.Spectra.empty());
}

TEST_F(ReadMassSpecsFileTest, AddedSpectraArriveUnchecked)
{
    Register(0, "A", "test_plugin_a.so", ".a");
    SetInt("A", "MassSpecsReadable", 1);
    CSearchOptions options;
    ASSERT_EQ(AddMassSpecsFromFile(Load().get(), "/spectra/lib.msp", options), 2);
    ASSERT_EQ(options.GetSpectraCount(), 2);
    std::string name;
    bool active = true;
    const CLibraryMassSpectrum* spectrum = options.GetSpectrum(1, &name, &active);
    ASSERT_NE(spectrum, nullptr);
    EXPECT_EQ(name, "Spectrum 2 of Plugins\\A");
    EXPECT_FALSE(active);
    EXPECT_EQ(spectrum->GetCount(), 2u);
}

} // namespace
