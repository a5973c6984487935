#include "engine/plugins/DatasystemPlugins.h"

#include <cstring>

#include "engine/core/Exceptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/ProgramFolder.h"
#include "engine/plugins/PluginInterface.h"
#include "engine/plugins/PluginRegistration.h"

namespace corvelin {

namespace {

const char* const kNoPluginsText = "Error reading number of file types plugins.";
const char* const kProgramName = "Corvelinscope";
// Result code of an open / overlay that found no eligible plug-in.
constexpr int kNoPluginForFile = 126;

[[noreturn]] void AbandonWithoutPlugins()
{
    ShowMessage(kNoPluginsText);
    throw CUserException(kNoPluginsText);
}

void CallSetRegistryPath(CDatasystemPlugin& plugin, const std::string& section)
{
    const auto setRegistryPath = plugin.Get<PFN_SetRegistryPath>(PluginExport::SetRegistryPath);
    if (!setRegistryPath)
        return;
    char buffer[kPluginBufferSize] = {};
    std::strncpy(buffer, section.c_str(), kPluginBufferSize - 1);
    setRegistryPath(buffer);
}

} // namespace

std::string ResolvePluginModulePath(const std::string& registeredPath, const std::string& programFolder)
{
    if (!registeredPath.empty() && registeredPath.front() == '/')
        return registeredPath;
    return programFolder + registeredPath;
}

CDatasystemPlugins::~CDatasystemPlugins()
{
    while (!m_plugins.empty())
        m_plugins.pop_back();
}

std::unique_ptr<CDatasystemPlugins> CDatasystemPlugins::LoadFromRegistration(const std::string& programFolder)
{
    const int slots = PluginSlotBound();
    if (slots <= 0)
        AbandonWithoutPlugins();

    auto list = std::make_unique<CDatasystemPlugins>();
    for (int i : PluginSlotIndexes(slots)) {
        const std::string slotName = "Plugin" + std::to_string(i);
        const std::string key = GetSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, slotName.c_str(), "");
        if (key.empty())
            continue;
        const std::string section = "Plugins\\" + key;
        const char* sectionName = section.c_str();
        const std::string registeredPath =
            GetSettingString(SettingsScope::LocalMachine, sectionName, nullptr, "Path", "");
        if (registeredPath.empty())
            continue;
        if (GetSettingInt(SettingsScope::LocalMachine, sectionName, nullptr, "Load This Plugin", 1) == 0)
            continue;

        auto plugin = std::make_unique<CDatasystemPlugin>(ResolvePluginModulePath(registeredPath, programFolder));
        plugin->Name = GetSettingString(SettingsScope::LocalMachine, sectionName, nullptr, nullptr, "");
        plugin->Extension = GetSettingString(SettingsScope::LocalMachine, sectionName, nullptr, "Extension", "");
        plugin->Filter = GetSettingString(SettingsScope::LocalMachine, sectionName, nullptr, "Filter", "");
        plugin->RegisteredPath = registeredPath;
        plugin->SettingsSection = section;
        CallSetRegistryPath(*plugin, section);
        list->Append(std::move(plugin));
    }
    return list;
}

CDatasystemPlugin* CDatasystemPlugins::GetPlugin(int i) const noexcept
{
    return i >= 0 && i < GetCount() ? m_plugins[static_cast<std::size_t>(i)].get() : nullptr;
}

bool CDatasystemPlugins::AnyMatchesExtension(const std::string& path) const noexcept
{
    for (const auto& plugin : m_plugins)
        if (plugin && plugin->MatchesExtension(path))
            return true;
    return false;
}

void CDatasystemPlugins::Append(std::unique_ptr<CDatasystemPlugin> plugin)
{
    if (plugin)
        m_plugins.push_back(std::move(plugin));
}

std::string CDatasystemPlugins::BuildChromatogramFilter() const
{
    if (IsEmpty())
        AbandonWithoutPlugins();
    std::string filters;
    std::string patterns;
    for (const auto& plugin : m_plugins) {
        if (plugin->Filter.empty() || plugin->Extension.empty())
            continue;
        filters += plugin->Filter + "|";
        patterns += "*" + plugin->Extension + ";";
    }
    return filters + "All known file types|" + patterns + "||";
}

std::string CDatasystemPlugins::BuildMassSpecsFilter() const
{
    if (IsEmpty())
        AbandonWithoutPlugins();
    std::string filters;
    std::string patterns;
    for (const auto& plugin : m_plugins) {
        if (!plugin->HasModule())
            continue;
        const auto getFilter = plugin->Get<PFN_GetMassSpecsReadFilter>(PluginExport::GetMassSpecsReadFilter);
        if (!getFilter)
            continue;
        std::string filter;
        std::string ending;
        getFilter(&filter, &ending);
        if (filter.empty())
            continue;
        // The plug-in's text carries its own trailing "|".
        filters += filter;
        patterns += "*" + ending + ";";
    }
    return filters + "All known file types|" + patterns + "||";
}

bool CDatasystemPlugins::OpenInDatasystem(const std::string& path) const
{
    return CallDatasystem(nullptr, path);
}

bool CDatasystemPlugins::OverlayInDatasystem(const std::string& path1, const std::string& path2) const
{
    return CallDatasystem(&path1, path2);
}

bool CDatasystemPlugins::CannotCallDatasystem(const CDatasystemPlugin& plugin, bool overlay, const std::string& path)
{
    // A reader of files only (JCAMP-DX, ANDI, ...) has no data system program behind it: say so rather than do
    // nothing.
    ShowMessage("The reader \"" + plugin.Name + "\" cannot " + (overlay ? "overlay '" : "open '") + path +
                    "' in a data system program: it has none, or its module is not loaded.\nDouble-click the hit "
                    "to open the file with the desktop's default program, or use the \"Display chromatogram "
                    "match\" and \"Internal Overlay\" pages.",
                kProgramName, MessageIcon::Information);
    return false;
}

bool CDatasystemPlugins::CallDatasystem(const std::string* path1, const std::string& path2) const
{
    const bool overlay = path1 != nullptr;
    int code = kNoPluginForFile;
    for (const auto& plugin : m_plugins) {
        const bool eligible = plugin->MatchesExtension(path2) ||
                              (EndsWithNoCase(path2, ".D") && plugin->Name == "HP ChemStation (via AMDIS)");
        if (!eligible)
            continue;
        if (overlay) {
            const auto overlayFn = plugin->Get<PFN_DatasystemOverlay>(PluginExport::DatasystemOverlay);
            if (!overlayFn)
                return CannotCallDatasystem(*plugin, true, path2);
            code = overlayFn(path1->c_str(), path2.c_str());
        } else {
            const auto openFn = plugin->Get<PFN_DatasystemOpen>(PluginExport::DatasystemOpen);
            if (!openFn)
                return CannotCallDatasystem(*plugin, false, path2);
            code = openFn(path2.c_str());
        }
        if (code == 0)
            return true;
    }
    if (code == kNoPluginForFile)
        ShowMessage("Could not find a plugin for this file extension.", kProgramName, MessageIcon::Stop);
    else
        ShowMessage(std::string(overlay ? "DatasystemOverlay" : "DatasystemOpen") +
                        " function call failed giving the reason\n\n" + std::strerror(code),
                    kProgramName, MessageIcon::Stop);
    return false;
}

namespace {

std::unique_ptr<CDatasystemPlugins> g_plugins;

} // namespace

CDatasystemPlugins& DatasystemPlugins()
{
    static CDatasystemPlugins empty;
    return g_plugins ? *g_plugins : empty;
}

CDatasystemPlugins* DatasystemPluginsIfCreated() noexcept
{
    return g_plugins.get();
}

void CreateDatasystemPlugins()
{
    SetDatasystemPlugins(CDatasystemPlugins::LoadFromRegistration(ProgramFolder()));
}

std::unique_ptr<CDatasystemPlugins> SetDatasystemPlugins(std::unique_ptr<CDatasystemPlugins> plugins)
{
    std::swap(g_plugins, plugins);
    return plugins;
}

} // namespace corvelin
