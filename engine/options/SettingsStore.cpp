#include "engine/options/SettingsStore.h"

#include <mutex>

#include "engine/options/ProgramSettingsStore.h"

namespace corvelin {

namespace {

std::mutex g_storeMutex;
std::shared_ptr<SettingsStore> g_store;

// The installed store, kept alive for the caller even when another thread installs a new one meanwhile.
std::shared_ptr<SettingsStore> CurrentStore()
{
    std::lock_guard lock(g_storeMutex);
    if (!g_store)
        g_store = std::make_shared<CProgramSettingsStore>(SettingsLocation::OfRunningProgram());
    return g_store;
}

} // namespace

SettingsStore& Settings()
{
    return *CurrentStore();
}

std::shared_ptr<SettingsStore> SetSettingsStore(std::shared_ptr<SettingsStore> store)
{
    std::lock_guard lock(g_storeMutex);
    std::swap(g_store, store);
    return store;
}

std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                             const char* defaultText)
{
    return CurrentStore()->GetSettingString(scope, section, subsection, valueName, defaultText);
}

int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                  int defaultValue)
{
    return CurrentStore()->GetSettingInt(scope, section, subsection, valueName, defaultValue);
}

void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName, int value)
{
    CurrentStore()->WriteSettingInt(scope, section, subsection, valueName, value);
}

void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                        const char* text)
{
    CurrentStore()->WriteSettingString(scope, section, subsection, valueName, text);
}

std::optional<std::vector<std::string>> GetSettingValueNames(SettingsScope scope, const char* section,
                                                             const char* subsection)
{
    return CurrentStore()->GetSettingValueNames(scope, section, subsection);
}

} // namespace corvelin
