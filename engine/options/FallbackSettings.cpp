#include "engine/options/FallbackSettings.h"

#include "engine/platform/PrivateProfile.h"

namespace corvelin {

namespace {

const char* SectionOf(const char* subsection)
{
    return subsection ? subsection : "";
}

const char* KeyOf(const char* valueName)
{
    return valueName ? valueName : "@";
}

} // namespace

CFallbackSettingsStore::CFallbackSettingsStore(std::string profilePath) : m_profilePath(std::move(profilePath)) {}

std::string CFallbackSettingsStore::GetSettingString(SettingsScope, const char*, const char* subsection,
                                                     const char* valueName, const char* defaultText)
{
    return GetPrivateProfileText(m_profilePath, SectionOf(subsection), KeyOf(valueName), defaultText ? defaultText : "",
                                 4096);
}

int CFallbackSettingsStore::GetSettingInt(SettingsScope, const char*, const char* subsection, const char* valueName,
                                          int defaultValue)
{
    return GetPrivateProfileInteger(m_profilePath, SectionOf(subsection), KeyOf(valueName), defaultValue);
}

void CFallbackSettingsStore::WriteSettingInt(SettingsScope, const char*, const char* subsection, const char* valueName,
                                             int value)
{
    WritePrivateProfileText(m_profilePath, SectionOf(subsection), KeyOf(valueName), std::to_string(value).c_str());
}

void CFallbackSettingsStore::WriteSettingString(SettingsScope, const char*, const char* subsection,
                                                const char* valueName, const char* text)
{
    WritePrivateProfileText(m_profilePath, SectionOf(subsection), KeyOf(valueName), text);
}

} // namespace corvelin
