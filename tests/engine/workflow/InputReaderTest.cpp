#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/TextFile.h"
#include "engine/plugins/DatasystemPlugin.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/InputReader.h"
#include "engine/workflow/LibrarySearch.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// An entry of three peaks; withRI gives them RI values, otherwise they have none (-1) and no calibration.
void WriteEntry(const std::string& path, bool withRI)
{
    CLibraryChromatogram c;
    c.SampleName = "S";
    for (int i = 0; i < 3; ++i) {
        auto& p = c.AddPeak();
        p.RT = 1.0 + i;
        p.StartRT = p.RT - 0.05;
        p.EndRT = p.RT + 0.05;
        p.Area = 100.0;
        p.Height = 10;
        p.RI = withRI ? 900 + 100 * i : -1;
        p.Spectrum.Append(CLibraryMassSpectrumPoint(50.0 + i, 100));
        p.Spectrum.ApplyWeighting();
        c.TotalArea += p.Area;
        c.TotalHeight += p.Height;
    }
    c.SaveEntry(path);
}

class InputReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto plugins = std::make_unique<CDatasystemPlugins>();
        auto plugin = std::make_unique<CDatasystemPlugin>(CORVELIN_ENTRY_READER, true);
        plugin->Name = "Corvelinscope Library Entry";
        plugin->Extension = ".ChromLibEntry";
        plugins->Append(std::move(plugin));
        m_previous = SetDatasystemPlugins(std::move(plugins));
        WriteEntry(m_dir.File("ri.ChromLibEntry"), true);
        WriteEntry(m_dir.File("nori.ChromLibEntry"), false);
        WriteAllText(m_dir.File("damaged.ChromLibEntry"), "not an entry at all");
    }
    void TearDown() override { SetDatasystemPlugins(std::move(m_previous)); }
    std::unique_ptr<CDatasystemPlugins> m_previous;
    TempDir m_dir;
};

struct ReadCase {
    const char* file;
    InputUse use;
    bool riMatching;
    bool showFailure;
    bool wantRead;
    bool wantRIUnknown;
    const char* wantFirstLine; // of the one message; %s = the path; nullptr: no message
};

// A failed read gives exactly one message, the use's text with the reader's reason on a line of its own (what
// the plug-ins and the plug-in layer would have shown is folded into it); a good read gives none, and says
// when RI matching has no RI values to work with.
TEST_F(InputReader, OneMessagePerFailureAndTheRIRule)
{
    const ReadCase cases[] = {
        {"damaged.ChromLibEntry", InputUse::MatchMatrix, false, true, false, false, "Error reading file %s"},
        {"damaged.ChromLibEntry", InputUse::SearchBrowse, false, true, false, false, "'%s' could not be read."},
        {"damaged.ChromLibEntry", InputUse::SearchUnknown, false, true, false, false,
         "Error reading from Chromatogram file '%s'"},
        {"missing.ChromLibEntry", InputUse::Conversion, false, true, false, false,
         "The chromatogramm '%s' could not be read"},
        {"missing.ChromLibEntry", InputUse::Conversion, false, false, false, false, nullptr},
        {"ri.ChromLibEntry", InputUse::ChromatogramMatch, true, true, true, false, nullptr},
        {"nori.ChromLibEntry", InputUse::ChromatogramMatch, true, true, true, true, nullptr},
        {"nori.ChromLibEntry", InputUse::PeakMatchTable, false, true, true, false, nullptr},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " use " + std::to_string(static_cast<int>(c.use)));
        RecordingMessageSink sink;
        CSearchOptions options;
        options.RIMatching = c.riMatching ? 1 : 0;
        CLibraryChromatogram target;
        const std::string path = m_dir.File(c.file);
        const CInputRead read = ReadInput(path, options, c.use, target, {-1, c.showFailure});
        EXPECT_EQ(c.wantRead, read.Read);
        EXPECT_EQ(c.wantRIUnknown, read.RIUnknown);
        if (!c.wantRead)
            EXPECT_FALSE(read.Reason.empty());
        if (!c.wantFirstLine) {
            EXPECT_EQ(std::vector<std::string>{}, sink.Texts());
            continue;
        }
        ASSERT_EQ(1u, sink.entries.size());
        const std::string first = ReadFailureText(c.use, path);
        EXPECT_EQ(std::string(c.wantFirstLine).replace(std::string(c.wantFirstLine).find("%s"), 2, path), first);
        EXPECT_EQ(first + "\n" + read.Reason, sink.entries[0].text);
        EXPECT_EQ(std::string::npos, read.Reason.find('\n'));
    }
}

// RI matching over entries without RI values keeps the numbers but says how many entries lack them.
TEST_F(InputReader, SearchWarnsAboutEntriesWithoutRI)
{
    const std::string library = m_dir.File("lib") + "/";
    std::filesystem::create_directories(library);
    WriteEntry(library + "a.ChromLibEntry", false);
    WriteEntry(library + "b.ChromLibEntry", true);
    WriteEntry(library + "c.ChromLibEntry", false);
    for (const bool riMatching : {false, true}) {
        RecordingMessageSink sink;
        CSearchOptions options;
        options.RIMatching = riMatching ? 1 : 0;
        std::atomic<bool> running{true};
        const CLibrarySearchResult result =
            SearchLibrary({m_dir.File("ri.ChromLibEntry"), library, 200, 2}, options, running, {});
        EXPECT_EQ(LibrarySearchEnd::Completed, result.End);
        EXPECT_EQ(riMatching ? std::vector<std::string>{RIWarningForEntries(2, 3)} : std::vector<std::string>{},
                  sink.Texts());
    }
    EXPECT_EQ("Insufficient RI calibration data for 2 of 3 library entries\nTheir RI values are unknown: their RI "
              "match values are not meaningful.",
              RIWarningForEntries(2, 3));
}

} // namespace
