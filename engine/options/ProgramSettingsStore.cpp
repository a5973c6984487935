#include "engine/options/ProgramSettingsStore.h"

#include "engine/platform/ProgramFolder.h"
#include "engine/platform/UserName.h"

namespace corvelin {

SettingsLocation SettingsLocation::OfRunningProgram()
{
    SettingsLocation location;
    location.ProgramFolder = corvelin::ProgramFolder();
    location.UserName = LoggedOnUserName();
    location.RegistryFolder = CRegistry::DefaultFolder();
    return location;
}

SettingsLocation SettingsLocation::InFolder(const std::string& folder, const std::string& userName)
{
    SettingsLocation location;
    location.ProgramFolder = folder;
    if (location.ProgramFolder.empty() || location.ProgramFolder.back() != '/')
        location.ProgramFolder += '/';
    location.UserName = userName;
    location.RegistryFolder = location.ProgramFolder + "registry";
    return location;
}

CProgramSettingsStore::CProgramSettingsStore(SettingsLocation location)
    : m_location(std::move(location)), m_ini([this] { return SettingsIniPath(); }, m_location.UserName),
      m_registry(CRegistry(m_location.RegistryFolder), m_location.CompanyKey),
      m_fallback(m_location.ProgramFolder + m_location.ProfileName + ".ini")
{
}

std::string CProgramSettingsStore::SettingsIniPath() const
{
    if (!m_location.IniPath.empty())
        return m_location.IniPath;
    return corvelin::SettingsIniPath(m_location.ProgramFolder);
}

bool CProgramSettingsStore::DecideUseIni() const
{
    // Without a company key the answer is "registry" (the operations then use the fallback file).
    if (m_location.CompanyKey.empty())
        return false;
    const std::string key = "SOFTWARE\\" + m_location.CompanyKey + "\\Settings\\";
    const CRegistry& registry = m_registry.Registry();
    if (!registry.OpenKey(RegistryRoot::LocalMachine, key))
        return true;
    const auto value = registry.QueryValue(RegistryRoot::LocalMachine, key, "UseRegistry");
    if (!value || value->Type != RegDword || value->Data.size() != 4)
        return true;
    const bool nonZero = value->Data[0] || value->Data[1] || value->Data[2] || value->Data[3];
    return !nonZero;
}

bool CProgramSettingsStore::UseIniSettings()
{
    std::lock_guard lock(m_mutex);
    if (!m_useIni)
        m_useIni = DecideUseIni();
    return *m_useIni;
}

SettingsStore& CProgramSettingsStore::Backend()
{
    if (m_location.CompanyKey.empty())
        return m_fallback;
    if (UseIniSettings())
        return m_ini;
    return m_registry;
}

std::string CProgramSettingsStore::GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                                    const char* valueName, const char* defaultText)
{
    std::lock_guard lock(m_mutex);
    return Backend().GetSettingString(scope, section, subsection, valueName, defaultText);
}

int CProgramSettingsStore::GetSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                         const char* valueName, int defaultValue)
{
    std::lock_guard lock(m_mutex);
    return Backend().GetSettingInt(scope, section, subsection, valueName, defaultValue);
}

void CProgramSettingsStore::WriteSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                            const char* valueName, int value)
{
    std::lock_guard lock(m_mutex);
    Backend().WriteSettingInt(scope, section, subsection, valueName, value);
}

void CProgramSettingsStore::WriteSettingString(SettingsScope scope, const char* section, const char* subsection,
                                               const char* valueName, const char* text)
{
    std::lock_guard lock(m_mutex);
    Backend().WriteSettingString(scope, section, subsection, valueName, text);
}

std::optional<std::vector<std::string>>
CProgramSettingsStore::GetSettingValueNames(SettingsScope scope, const char* section, const char* subsection)
{
    std::lock_guard lock(m_mutex);
    return Backend().GetSettingValueNames(scope, section, subsection);
}

bool UseIniSettings()
{
    SettingsStore& store = Settings();
    if (auto* program = dynamic_cast<CProgramSettingsStore*>(&store))
        return program->UseIniSettings();
    return dynamic_cast<CIniSettingsStore*>(&store) != nullptr;
}

std::string SettingsIniPath()
{
    SettingsStore& store = Settings();
    if (auto* program = dynamic_cast<CProgramSettingsStore*>(&store))
        return program->UseIniSettings() ? program->SettingsIniPath() : std::string();
    if (auto* ini = dynamic_cast<CIniSettingsStore*>(&store))
        return ini->Path();
    return std::string();
}

} // namespace corvelin
