#include "engine/options/IniSettings.h"

#include <cstdlib>

#include "engine/platform/IniDocument.h"
#include "engine/platform/PrivateProfile.h"

namespace corvelin {

namespace {

// Texts are read with a 4096-character buffer.
constexpr std::size_t textBuffer = 4096;

const char* KeyOf(const char* valueName)
{
    return valueName ? valueName : "@";
}

} // namespace

std::string IniSectionName(SettingsScope scope, const std::string& userName, const char* section,
                           const char* subsection)
{
    std::string name;
    switch (scope) {
    case SettingsScope::CurrentUser:
        name = "HKCU " + userName + " ";
        break;
    case SettingsScope::LocalMachine:
        name = "HKLM ";
        break;
    case SettingsScope::ClassesRoot:
        name = "HKCR ";
        break;
    case SettingsScope::Other:
        name = "HKOTHER ";
        break;
    }
    if (section)
        name += section;
    if (subsection) {
        name += ' ';
        name += subsection;
    }
    for (char& c : name)
        if (c == '\\')
            c = ' ';
    return name;
}

std::string SettingsIniPath(const std::string& programFolder)
{
    std::string path = GetPrivateProfileText(programFolder + "config.ini", "Configuration", "Path", "", 260);
    if (path.empty())
        return programFolder + "settings.ini";
    if (path.starts_with("~/")) {
        if (const char* home = std::getenv("HOME"); home && *home)
            return std::string(home) + path.substr(1);
    }
    if (path.front() != '/')
        return programFolder + path;
    return path;
}

CIniSettingsStore::CIniSettingsStore(std::function<std::string()> iniPath, std::string userName)
    : m_iniPath(std::move(iniPath)), m_userName(std::move(userName))
{
}

CIniSettingsStore::CIniSettingsStore(const std::string& iniPath, std::string userName)
    : CIniSettingsStore([iniPath] { return iniPath; }, std::move(userName))
{
}

std::string CIniSettingsStore::GetSettingString(SettingsScope scope, const char* section, const char* subsection,
                                                const char* valueName, const char* defaultText)
{
    return GetPrivateProfileText(m_iniPath(), IniSectionName(scope, m_userName, section, subsection), KeyOf(valueName),
                                 defaultText ? defaultText : "", textBuffer);
}

int CIniSettingsStore::GetSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                     const char* valueName, int defaultValue)
{
    return GetPrivateProfileInteger(m_iniPath(), IniSectionName(scope, m_userName, section, subsection),
                                    KeyOf(valueName), defaultValue);
}

void CIniSettingsStore::WriteSettingInt(SettingsScope scope, const char* section, const char* subsection,
                                        const char* valueName, int value)
{
    const std::string text = std::to_string(value);
    WritePrivateProfileText(m_iniPath(), IniSectionName(scope, m_userName, section, subsection), KeyOf(valueName),
                            text.c_str());
}

void CIniSettingsStore::WriteSettingString(SettingsScope scope, const char* section, const char* subsection,
                                           const char* valueName, const char* text)
{
    WritePrivateProfileText(m_iniPath(), IniSectionName(scope, m_userName, section, subsection), KeyOf(valueName),
                            text);
}

std::optional<std::vector<std::string>>
CIniSettingsStore::GetSettingValueNames(SettingsScope scope, const char* section, const char* subsection)
{
    CIniDocument document;
    document.Load(m_iniPath());
    std::vector<std::string> names;
    document.ForEachKey(IniSectionName(scope, m_userName, section, subsection),
                        [&](std::string_view key, std::string_view) { names.emplace_back(key); });
    return names;
}

} // namespace corvelin
