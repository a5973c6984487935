// Shard result files: every cell comes back exactly, and damaged or foreign files are refused with the reason.
#include <gtest/gtest.h>

#include "engine/scaleout/ShardFile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

CShardResult Sample()
{
    CShardResult r;
    CShardHeader& h = r.Header;
    h.Program = ShardProgramText();
    h.Shard = {2, 7};
    h.UnknownSha256 = std::string(64, 'a');
    h.UnknownPath = "/data/run \"1\"\\x.ChromLibEntry";
    h.SampleName = "Säure/Base\tmix";
    h.PeakCountText = " 5";
    h.LibraryFolder = "/lib/";
    h.MaxPeaks = 200;
    h.Subfolders = 1;
    h.OptionsSha256 = std::string(64, 'b');
    h.ParameterLines = {"Search Parameter:", "RT search range: *", ""};
    h.EntryCount = 40;
    h.EntryListSha256 = std::string(64, 'c');
    r.Rows = {{3, {"./sub/a.ChromLibEntry", "name, \"quoted\"", "line\nbreak\r\x01\x7f", "0.500", " 3/ 4"}},
              {17, {"b.ChromLibEntry", "Warning: Library File b.ChromLibEntry could not be read!"}},
              {39, {"c", ""}}};
    return r;
}

} // namespace

TEST(ShardFile, WritesAndReadsBackEveryCellExactly)
{
    TempDir dir;
    const CShardResult sample = Sample();
    WriteShardFile(dir.File("s"), sample);
    const std::string text = ReadAllText(dir.File("s"));
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("\n3,\"./sub/a.ChromLibEntry\",\"name, \\\"quoted\\\"\",\"line\\nbreak\\r\\x01\\x7f\","),
              std::string::npos)
        << text;
    const CShardResult back = ReadShardFile(dir.File("s"));
    EXPECT_TRUE(back.Header.SameSearchAs(sample.Header));
    EXPECT_EQ(back.Header.Shard, sample.Header.Shard);
    ASSERT_EQ(back.Rows.size(), sample.Rows.size());
    for (std::size_t i = 0; i < back.Rows.size(); ++i) {
        EXPECT_EQ(back.Rows[i].Index, sample.Rows[i].Index);
        EXPECT_EQ(back.Rows[i].Cells, sample.Rows[i].Cells);
    }
}

TEST(ShardFile, RefusesDamagedAndForeignFiles)
{
    const std::string good = ShardFileText(Sample());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const struct {
        std::string Text;
        const char* Reason;
    } cases[] = {
        {"", "not a shard result file"},
        {"Library search results for = x\n", "not a shard result file"},
        {good.substr(0, good.size() - 20), "ends early"},
        {good.substr(0, good.size() - 1), "no line end"},
        {good + "more\n", "text after"},
        {replaced("Rows = 3", "Rows = 4"), "4 rows were announced, 3 came"},
        {replaced("Rows = 3", "Rows = 41"), "not a number in range"},
        {replaced("\n17,", "\n2,"), "not in ascending order"},
        {replaced("\n39,", "\n40,"), "beyond the library's entries"},
        {replaced("Shard = 2/7", "Shard = 7/7"), "the shard is not"},
        {replaced(std::string(64, 'a'), std::string(63, 'a')), "not 64 lower-case hexadecimal digits"},
        {replaced("\\x01", "\\x0g"), "bad \\x escape"},
        {replaced("\\n", "\\q"), "unknown escape"},
        {replaced("\"c\",\"\",", "\"c\",\"\""), "does not end with a double quote and a comma"},
        {replaced("Subfolders = 1", "Subfolders = 2"), "not a number in range"},
    };
    for (const auto& c : cases) {
        try {
            ParseShardFile(c.Text);
            ADD_FAILURE() << "accepted: " << c.Reason;
        } catch (const CUserException& e) {
            EXPECT_NE(std::string(e.what()).find(c.Reason), std::string::npos) << e.what();
        }
    }
}
