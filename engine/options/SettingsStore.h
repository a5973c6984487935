#pragma once
// The settings store: four operations addressing a value by scope, section, optional subsection and optional
// value name. Reads never fail (they return the caller's default); writes that cannot be done are dropped.
// Behind them: an INI file with Windows private-profile semantics, or the file-backed registry layer, chosen
// once per run ("UseRegistry"). Tests inject their own store or point the back ends at a temporary folder:
//     SetSettingsStore(std::make_shared<CProgramSettingsStore>(SettingsLocation::InFolder(dir, "alice")));
//         (options/ProgramSettingsStore.h: settings.ini / config.ini in dir, registry files in dir/registry)
//     SetSettingsStore(std::make_shared<CIniSettingsStore>(iniPath, "alice"));   (options/IniSettings.h)
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

enum class SettingsScope { CurrentUser, LocalMachine, ClassesRoot, Other };

// nullptr for subsection / value name means "none" (the section's default value "@" when no value name).
// nullptr for a default text means the empty text; nullptr for a written text means "absent" (INI: delete the key).
class CORVELIN_ENGINE_EXPORT SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                         const char* valueName, const char* defaultText) = 0;
    virtual int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                              int defaultValue) = 0;
    virtual void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, int value) = 0;
    virtual void WriteSettingString(SettingsScope scope, const char* section, const char* subsection,
                                    const char* valueName, const char* text) = 0;
    // The value names present in a section (the default value as "@" in an INI file, "" in the registry), so a
    // caller can visit only the numbered values that exist instead of counting up to a stored number.
    // nullopt when the back end cannot list them.
    virtual std::optional<std::vector<std::string>>
    GetSettingValueNames(SettingsScope /*scope*/, const char* /*section*/, const char* /*subsection*/)
    {
        return std::nullopt;
    }
};

// The process-wide store used by the free functions below. Until one is installed, the default store of the
// running program is created on first use (program folder, logged-on user, "UseRegistry" switch).
CORVELIN_ENGINE_EXPORT SettingsStore& Settings();
// Installs a store for the rest of the run (tests, or a program that configured its own). Returns the previous.
// nullptr goes back to the default store, created anew on the next use.
CORVELIN_ENGINE_EXPORT std::shared_ptr<SettingsStore> SetSettingsStore(std::shared_ptr<SettingsStore> store);

CORVELIN_ENGINE_EXPORT std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                                    const char* valueName, const char* defaultText);
CORVELIN_ENGINE_EXPORT int GetSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                         const char* valueName, int defaultValue);
CORVELIN_ENGINE_EXPORT void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                            const char* valueName, int value);
CORVELIN_ENGINE_EXPORT void WriteSettingString(SettingsScope scope, const char* section, const char* subsection,
                                               const char* valueName, const char* text);
CORVELIN_ENGINE_EXPORT std::optional<std::vector<std::string>>
GetSettingValueNames(SettingsScope scope, const char* section, const char* subsection);

} // namespace corvelin
