#pragma once
// An in-memory settings store for the plug-in tests, installed for the lifetime of the object. Addresses compare
// ignoring case, as the INI back end does; integers and texts are kept apart, as the registry does.
#include <map>
#include <memory>
#include <string>

#include "options/SettingsStore.h"

class FakeSettingsStore : public SettingsStore {
public:
    std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, const char* defaultText) override
    {
        const auto it = texts.find(Address(scope, section, subsection, valueName));
        return it != texts.end() ? it->second : std::string(defaultText ? defaultText : "");
    }
    int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                      int defaultValue) override
    {
        const auto it = ints.find(Address(scope, section, subsection, valueName));
        return it != ints.end() ? it->second : defaultValue;
    }
    void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                         int value) override
    {
        ints[Address(scope, section, subsection, valueName)] = value;
    }
    void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                            const char* text) override
    {
        const std::string address = Address(scope, section, subsection, valueName);
        if (text)
            texts[address] = text;
        else
            texts.erase(address);
    }

    static std::string Address(SettingsScope scope, const char* section, const char* subsection, const char* valueName)
    {
        std::string a = std::to_string(static_cast<int>(scope)) + "|" + (section ? section : "") + "|" +
                        (subsection ? subsection : "") + "|" + (valueName ? valueName : "@");
        for (char& c : a)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return a;
    }

    std::map<std::string, std::string> texts;
    std::map<std::string, int> ints;
};

// Installs a fresh FakeSettingsStore for the scope of the object and restores the previous store afterwards.
class ScopedFakeSettings {
public:
    ScopedFakeSettings() : m_store(std::make_shared<FakeSettingsStore>()) { m_previous = SetSettingsStore(m_store); }
    ~ScopedFakeSettings() { SetSettingsStore(m_previous); }
    ScopedFakeSettings(const ScopedFakeSettings&) = delete;
    ScopedFakeSettings& operator=(const ScopedFakeSettings&) = delete;
    FakeSettingsStore& operator*() const { return *m_store; }
    FakeSettingsStore* operator->() const { return m_store.get(); }

private:
    std::shared_ptr<FakeSettingsStore> m_store;
    std::shared_ptr<SettingsStore> m_previous;
};
