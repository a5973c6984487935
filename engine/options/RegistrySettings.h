#pragma once
// The registry back end of the settings store: a value lives in the key
// "SOFTWARE\<company>\<section>\<subsection>" under the scope's root, as REG_DWORD (integers) or REG_SZ with its
// terminating zero (texts); the value name, or the key's default value without one.
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/Registry.h"

namespace corvelin {

CORVELIN_ENGINE_EXPORT RegistryRoot RegistryRootOf(SettingsScope scope) noexcept;
// "SOFTWARE\" + company + "\" + section + "\" + subsection (nothing after the last backslash without one).
CORVELIN_ENGINE_EXPORT std::string RegistryKeyPath(const std::string& companyKey, const char* section,
                                                   const char* subsection);

class CORVELIN_ENGINE_EXPORT CRegistrySettingsStore : public SettingsStore {
public:
    // Longest text read, terminating zero included; longer values read as the default.
    static constexpr std::size_t MaxTextBytes = 4096;

    CRegistrySettingsStore(CRegistry registry, std::string companyKey);

    // Texts must be REG_SZ or REG_EXPAND_SZ (returned unexpanded), at most 4096 bytes and end with a zero byte.
    std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, const char* defaultText) override;
    // Integers must be 4-byte REG_DWORD values.
    int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                      int defaultValue) override;
    void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                         int value) override;
    // An absent text (nullptr) writes nothing.
    void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                            const char* text) override;

    std::optional<std::vector<std::string>> GetSettingValueNames(SettingsScope scope, const char* section,
                                                                 const char* subsection) override;

    const CRegistry& Registry() const noexcept { return m_registry; }

private:
    CRegistry m_registry;
    std::string m_companyKey;
};

} // namespace corvelin
