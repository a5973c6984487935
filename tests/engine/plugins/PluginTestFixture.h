#pragma once
// Fixture of the plug-in tests: a fake settings store and a recording message sink for each test, and helpers to
// register the test-only modules and steer them through their settings sections.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/MemorySettingsStore.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "tests/support/RecordingMessageSink.h"

namespace corvelin {

class PluginTest : public ::testing::Test {
protected:
    // The folder the test modules are built into, with a trailing '/': stands in for the program folder.
    static std::string ModuleFolder() { return std::string(CORVELIN_TEST_PLUGIN_DIR) + "/"; }

    // Registers slot `slot` (the slot count grows to cover it) as key with module file `path`.
    void Register(int slot, const std::string& key, const std::string& path, const std::string& extension,
                  const std::string& filter = {}, const std::string& name = {})
    {
        const std::string slotName = "Plugin" + std::to_string(slot);
        settings->WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, slotName.c_str(), key.c_str());
        const int slots = settings->GetSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 0);
        if (slot + 1 > slots)
            settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, slot + 1);
        SetText(key, nullptr, name.empty() ? "Test plug-in " + key : name);
        SetText(key, "Path", path);
        SetText(key, "Extension", extension);
        SetText(key, "Filter", filter);
    }
    void SetInt(const std::string& key, const char* value, int number)
    {
        settings->WriteSettingInt(SettingsScope::LocalMachine, Section(key).c_str(), nullptr, value, number);
    }
    void SetText(const std::string& key, const char* value, const std::string& text)
    {
        settings->WriteSettingString(SettingsScope::LocalMachine, Section(key).c_str(), nullptr, value, text.c_str());
    }
    int Int(const std::string& key, const char* value)
    {
        return settings->GetSettingInt(SettingsScope::LocalMachine, Section(key).c_str(), nullptr, value, 0);
    }
    std::string Text(const std::string& key, const char* value)
    {
        return settings->GetSettingString(SettingsScope::LocalMachine, Section(key).c_str(), nullptr, value, "");
    }
    std::unique_ptr<CDatasystemPlugins> Load() { return CDatasystemPlugins::LoadFromRegistration(ModuleFolder()); }

    static std::string Section(const std::string& key) { return "Plugins\\" + key; }

    ScopedMemorySettings settings;
    RecordingMessageSink messages;
};

} // namespace corvelin
