#pragma once
// An in-memory settings store for tests: values keyed by scope, section, subsection and value name, compared
// without regard to case as both real back ends do; integers and texts kept apart as the registry keeps types. Installs
// itself as the process-wide store while it lives and restores the previous one afterwards.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/options/SettingsStore.h"

namespace corvelin {

class MemorySettingsStore : public SettingsStore {
public:
    using Key = std::tuple<int, std::string, std::string, std::string>;

    std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, const char* defaultText) override
    {
        const auto it = texts.find(MakeKey(scope, section, subsection, valueName));
        return it != texts.end() ? it->second : std::string(defaultText ? defaultText : "");
    }
    int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                      int defaultValue) override
    {
        const auto it = ints.find(MakeKey(scope, section, subsection, valueName));
        return it != ints.end() ? it->second : defaultValue;
    }
    void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                         int value) override
    {
        ints[MakeKey(scope, section, subsection, valueName)] = value;
    }
    void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                            const char* text) override
    {
        if (text)
            texts[MakeKey(scope, section, subsection, valueName)] = text;
        else
            texts.erase(MakeKey(scope, section, subsection, valueName));
    }

    std::optional<std::vector<std::string>> GetSettingValueNames(SettingsScope scope, const char* section,
                                                                 const char* subsection) override
    {
        std::vector<std::string> names;
        const Key first = MakeKey(scope, section, subsection, "");
        auto sameSection = [&](const Key& k) {
            return std::get<0>(k) == std::get<0>(first) && std::get<1>(k) == std::get<1>(first) &&
                   std::get<2>(k) == std::get<2>(first);
        };
        for (auto it = texts.lower_bound(first); it != texts.end() && sameSection(it->first); ++it)
            names.push_back(std::get<3>(it->first));
        for (auto it = ints.lower_bound(first); it != ints.end() && sameSection(it->first); ++it)
            names.push_back(std::get<3>(it->first));
        return names;
    }

    static Key MakeKey(SettingsScope scope, const char* section, const char* subsection, const char* valueName)
    {
        return {static_cast<int>(scope), Lower(section ? section : ""), Lower(subsection ? subsection : ""),
                Lower(valueName ? valueName : "@")};
    }
    static std::string Lower(std::string text)
    {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return text;
    }
    int Int(const char* section, const char* valueName, int defaultValue = -12345) const
    {
        const auto it = ints.find(MakeKey(SettingsScope::CurrentUser, section, nullptr, valueName));
        return it != ints.end() ? it->second : defaultValue;
    }

    std::map<Key, int> ints;
    std::map<Key, std::string> texts;
};

// Creates a memory store, installs it for the scope of the object and gives access to it.
class ScopedMemorySettings {
public:
    ScopedMemorySettings() : m_store(std::make_shared<MemorySettingsStore>())
    {
        m_previous = SetSettingsStore(m_store);
    }
    ~ScopedMemorySettings() { SetSettingsStore(m_previous); }
    ScopedMemorySettings(const ScopedMemorySettings&) = delete;
    ScopedMemorySettings& operator=(const ScopedMemorySettings&) = delete;
    MemorySettingsStore& operator*() const { return *m_store; }
    MemorySettingsStore* operator->() const { return m_store.get(); }

private:
    std::shared_ptr<MemorySettingsStore> m_store;
    std::shared_ptr<SettingsStore> m_previous;
};

} // namespace corvelin
