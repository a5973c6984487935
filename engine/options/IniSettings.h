#pragma once
// The INI back end of the settings store: all scopes in one file, one INI section per scope, section and
// subsection, e.g. "HKCU alice Search Parameter Global"; the key is the value name, or "@" without one.
#include <functional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/options/SettingsStore.h"

namespace corvelin {

// The INI section of a setting: the scope prefix ("HKCU " + user name + " ", "HKLM ", "HKCR ", "HKOTHER "),
// the section and, with a subsection, a blank and the subsection; every backslash becomes a blank.
CORVELIN_ENGINE_EXPORT std::string IniSectionName(SettingsScope scope, const std::string& userName, const char* section,
                                                  const char* subsection);

// The settings file: key "Path" of section "Configuration" in programFolder + "config.ini" (read with a
// 260-character buffer), else programFolder + "settings.ini". A relative Path is taken relative to the program
// folder; a leading "~/" stands for the home folder. Computed anew on every call, so an edited config.ini takes
// effect at once. programFolder ends with '/'.
CORVELIN_ENGINE_EXPORT std::string SettingsIniPath(const std::string& programFolder);

class CORVELIN_ENGINE_EXPORT CIniSettingsStore : public SettingsStore {
public:
    // The settings file is asked of iniPath on every call; userName goes into the per-user section names.
    CIniSettingsStore(std::function<std::string()> iniPath, std::string userName);
    // Settings in one fixed file.
    CIniSettingsStore(const std::string& iniPath, std::string userName);

    // The settings file the next operation uses.
    std::string Path() const { return m_iniPath(); }

    std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, const char* defaultText) override;
    int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                      int defaultValue) override;
    void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                         int value) override;
    void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                            const char* text) override;
    std::optional<std::vector<std::string>> GetSettingValueNames(SettingsScope scope, const char* section,
                                                                 const char* subsection) override;

private:
    std::function<std::string()> m_iniPath;
    std::string m_userName;
};

} // namespace corvelin
