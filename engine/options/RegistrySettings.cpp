#include "engine/options/RegistrySettings.h"

namespace corvelin {

RegistryRoot RegistryRootOf(SettingsScope scope) noexcept
{
    switch (scope) {
    case SettingsScope::CurrentUser:
        return RegistryRoot::CurrentUser;
    case SettingsScope::LocalMachine:
        return RegistryRoot::LocalMachine;
    case SettingsScope::ClassesRoot:
        return RegistryRoot::ClassesRoot;
    case SettingsScope::Other:
        break;
    }
    return RegistryRoot::Other;
}

std::string RegistryKeyPath(const std::string& companyKey, const char* section, const char* subsection)
{
    std::string path = "SOFTWARE\\" + companyKey + "\\";
    if (section)
        path += section;
    path += '\\';
    if (subsection)
        path += subsection;
    return path;
}

CRegistrySettingsStore::CRegistrySettingsStore(CRegistry registry, std::string companyKey)
    : m_registry(std::move(registry)), m_companyKey(std::move(companyKey))
{
}

std::string CRegistrySettingsStore::GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                                     const char* valueName, const char* defaultText)
{
    const std::string fallback = defaultText ? defaultText : "";
    const RegistryRoot root = RegistryRootOf(scope);
    const std::string key = RegistryKeyPath(m_companyKey, section, subsection);
    if (!m_registry.OpenKey(root, key))
        return fallback;
    const auto value = m_registry.QueryValue(root, key, valueName ? valueName : "");
    if (!value || (value->Type != RegSz && value->Type != RegExpandSz))
        return fallback;
    if (value->Data.empty() || value->Data.size() > MaxTextBytes || value->Data.back() != 0)
        return fallback;
    // The text ends at its first zero byte.
    return std::string(reinterpret_cast<const char*>(value->Data.data()));
}

int CRegistrySettingsStore::GetSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                          const char* valueName, int defaultValue)
{
    const RegistryRoot root = RegistryRootOf(scope);
    const std::string key = RegistryKeyPath(m_companyKey, section, subsection);
    if (!m_registry.OpenKey(root, key))
        return defaultValue;
    const auto value = m_registry.QueryValue(root, key, valueName ? valueName : "");
    if (!value || value->Type != RegDword || value->Data.size() != 4)
        return defaultValue;
    const std::uint32_t n = value->Data[0] | (value->Data[1] << 8) | (value->Data[2] << 16) |
                            (static_cast<std::uint32_t>(value->Data[3]) << 24);
    return static_cast<int>(n);
}

void CRegistrySettingsStore::WriteSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                             const char* valueName, int value)
{
    RegistryValue stored;
    stored.Type = RegDword;
    const auto n = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        stored.Data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    m_registry.SetValue(RegistryRootOf(scope), RegistryKeyPath(m_companyKey, section, subsection),
                        valueName ? valueName : "", stored);
}

void CRegistrySettingsStore::WriteSettingString(SettingsScope scope, const char* section, const char* subsection,
                                                const char* valueName, const char* text)
{
    if (!text)
        return;
    RegistryValue stored;
    stored.Type = RegSz;
    const std::string_view view(text);
    stored.Data.assign(view.begin(), view.end());
    stored.Data.push_back(0);
    m_registry.SetValue(RegistryRootOf(scope), RegistryKeyPath(m_companyKey, section, subsection),
                        valueName ? valueName : "", stored);
}

std::optional<std::vector<std::string>>
CRegistrySettingsStore::GetSettingValueNames(SettingsScope scope, const char* section, const char* subsection)
{
    return m_registry.ValueNames(RegistryRootOf(scope), RegistryKeyPath(m_companyKey, section, subsection));
}

} // namespace corvelin
