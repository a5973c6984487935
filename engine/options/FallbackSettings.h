#pragma once
// The settings store of an application without a company key: one private profile file named after the
// profile name, the subsection as INI section and the value name as key (texts read with 4096 characters).
// Scope and section are ignored. A missing subsection is the section "", a missing value name the key "@".
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/options/SettingsStore.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CFallbackSettingsStore : public SettingsStore {
public:
    explicit CFallbackSettingsStore(std::string profilePath);

    std::string GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                 const char* valueName, const char* defaultText) override;
    int GetSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                      int defaultValue) override;
    void WriteSettingInt(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                         int value) override;
    void WriteSettingString(SettingsScope scope, const char* section, const char* subsection, const char* valueName,
                            const char* text) override;

    const std::string& ProfilePath() const noexcept { return m_profilePath; }

private:
    std::string m_profilePath;
};

} // namespace corvelin
