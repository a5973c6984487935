#include "engine/plugins/PluginRegistration.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/options/PluginSlots.h"
#include "engine/options/SettingsFileLock.h"
#include "engine/options/SettingsStore.h"
#include "engine/plugins/DatasystemPlugin.h"

namespace corvelin {

namespace {

constexpr SettingsScope kScope = SettingsScope::LocalMachine;

std::string SlotName(int i)
{
    return "Plugin" + std::to_string(i);
}

std::string SlotKey(int i)
{
    return GetSettingString(kScope, "Plugins", nullptr, SlotName(i).c_str(), "");
}

bool SameKey(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && EndsWithNoCase(a, b);
}

int FindSlot(const std::string& key, int slots)
{
    for (int i : PluginSlotIndexes(slots))
        if (SameKey(SlotKey(i), key))
            return i;
    return -1;
}

} // namespace

int RegisterPlugin(const PluginRegistration& reg)
{
    const CSettingsFileLock lock;
    const int slots = std::max(0, GetSettingInt(kScope, "Plugins", nullptr, nullptr, 0));
    int slot = FindSlot(reg.Key, slots);
    if (slot < 0) {
        // The first empty slot: the lowest number without a value, or one whose value is empty.
        int expected = 0;
        for (int i : PluginSlotIndexes(slots)) {
            if (i != expected || SlotKey(i).empty())
                break;
            ++expected;
        }
        if (expected < slots)
            slot = expected;
        if (slot < 0) {
            slot = slots;
            WriteSettingInt(kScope, "Plugins", nullptr, nullptr, slots + 1);
        }
        WriteSettingString(kScope, "Plugins", nullptr, SlotName(slot).c_str(), reg.Key.c_str());
    }
    const std::string section = "Plugins\\" + reg.Key;
    WriteSettingString(kScope, section.c_str(), nullptr, nullptr, reg.Name.c_str());
    WriteSettingString(kScope, section.c_str(), nullptr, "Path", reg.Path.c_str());
    WriteSettingString(kScope, section.c_str(), nullptr, "Extension", reg.Extension.c_str());
    WriteSettingString(kScope, section.c_str(), nullptr, "Filter", reg.Filter.c_str());
    return slot;
}

bool UnregisterPlugin(const std::string& key)
{
    const CSettingsFileLock lock;
    const int slot = FindSlot(key, std::max(0, GetSettingInt(kScope, "Plugins", nullptr, nullptr, 0)));
    if (slot < 0)
        return false;
    WriteSettingString(kScope, "Plugins", nullptr, SlotName(slot).c_str(), "");
    return true;
}

std::vector<PluginRegistration> ReadPluginRegistrations()
{
    std::vector<PluginRegistration> out;
    const int slots = GetSettingInt(kScope, "Plugins", nullptr, nullptr, 0);
    for (int i : PluginSlotIndexes(slots)) {
        PluginRegistration reg;
        reg.Key = SlotKey(i);
        if (reg.Key.empty())
            continue;
        const std::string section = "Plugins\\" + reg.Key;
        reg.Slot = i;
        reg.Name = GetSettingString(kScope, section.c_str(), nullptr, nullptr, "");
        reg.Path = GetSettingString(kScope, section.c_str(), nullptr, "Path", "");
        reg.Extension = GetSettingString(kScope, section.c_str(), nullptr, "Extension", "");
        reg.Filter = GetSettingString(kScope, section.c_str(), nullptr, "Filter", "");
        reg.Load = GetSettingInt(kScope, section.c_str(), nullptr, "Load This Plugin", 1) != 0;
        out.push_back(std::move(reg));
    }
    return out;
}

} // namespace corvelin
