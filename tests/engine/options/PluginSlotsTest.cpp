#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "engine/options/IniSettings.h"
#include "engine/options/PluginSlots.h"
#include "engine/options/SettingsStore.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

// A slot count that is negative or written beyond the range of an int reads the slots present; a count in range
// still bounds them.
TEST(PluginSlots, ACountOutOfRangeReadsTheSlotsPresent)
{
    const struct {
        const char* Count;
        std::vector<int> Slots;
    } cases[] = {
        {"-1", {0, 1, 2}}, {"4294967296", {0, 1, 2}}, {"99999999999", {0, 1, 2}}, {"2", {0, 1}}, {"3", {0, 1, 2}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteAllText(dir.File("s.ini"),
                     std::string("[HKLM Plugins]\n@=") + c.Count + "\nPlugin0=A\nPlugin1=B\nPlugin2=C\n");
        auto previous = SetSettingsStore(std::make_shared<CIniSettingsStore>(dir.File("s.ini"), "u"));
        EXPECT_EQ(PluginSlotIndexes(PluginSlotBound()), c.Slots) << c.Count;
        SetSettingsStore(previous);
    }
}

} // namespace
