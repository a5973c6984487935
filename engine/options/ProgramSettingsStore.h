#pragma once
// The settings store of a running program: the INI file or the registry, chosen once per run by the machine-wide
// value "UseRegistry" under "SOFTWARE\<company>\Settings\" (a non-zero REG_DWORD selects the registry; a missing
// value, any other type, or a key that cannot be opened selects the INI file). Without a company key every
// operation goes to the fallback profile file instead.
//
// To keep a test or tool away from the user's real settings, point everything at one folder:
//     SetSettingsStore(std::make_shared<CProgramSettingsStore>(SettingsLocation::InFolder(dir, "alice")));
// (settings.ini and config.ini in dir, the registry files in dir/registry), or use one given INI file:
//     SetSettingsStore(std::make_shared<CIniSettingsStore>(path, "alice"));   // options/IniSettings.h
// The registry folder of the real program can be moved with the environment variable CORVELIN_REGISTRY_DIR.
#include <mutex>
#include <optional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/options/FallbackSettings.h"
#include "engine/options/IniSettings.h"
#include "engine/options/RegistrySettings.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT SettingsLocation {
    std::string ProgramFolder;  // ends with '/': holds config.ini and the default settings.ini
    std::string UserName;       // the logged-on user, part of the per-user INI section names
    std::string RegistryFolder; // folder of the registry files
    std::string CompanyKey = "Felsmark Labs";
    std::string ProfileName = "Corvelinscope"; // the fallback profile file is ProgramFolder + ProfileName + ".ini"
    std::string IniPath;                       // when set: the settings file, instead of asking config.ini

    // The running program: its executable's folder, the effective user, CRegistry::DefaultFolder().
    static SettingsLocation OfRunningProgram();
    // Everything inside one folder: settings.ini and config.ini there, the registry files in folder/registry.
    static SettingsLocation InFolder(const std::string& folder, const std::string& userName);
};

class CORVELIN_ENGINE_EXPORT CProgramSettingsStore : public SettingsStore {
public:
    explicit CProgramSettingsStore(SettingsLocation location);

    // Whether the INI file is in use: decided on the first call (or the first setting read or written) and kept.
    bool UseIniSettings();
    // The settings file path, computed anew on every call.
    std::string SettingsIniPath() const;
    const SettingsLocation& Location() const noexcept { return m_location; }

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
    bool DecideUseIni() const;
    // The back end for the next operation; the caller holds m_mutex.
    SettingsStore& Backend();

    SettingsLocation m_location;
    // One operation at a time: an INI write reads, changes and replaces the whole file.
    std::recursive_mutex m_mutex;
    std::optional<bool> m_useIni;
    CIniSettingsStore m_ini;
    CRegistrySettingsStore m_registry;
    CFallbackSettingsStore m_fallback;
};

// For the process-wide store (Settings()): whether it keeps its values in an INI file (a program store asks its
// switch; an injected INI store answers yes, any other store no), and that file's path ("" when none).
CORVELIN_ENGINE_EXPORT bool UseIniSettings();
CORVELIN_ENGINE_EXPORT std::string SettingsIniPath();

} // namespace corvelin
