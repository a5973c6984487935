#pragma once
// The process-wide, ordered list of data-system plug-ins, built at start-up from the machine-wide "Plugins"
// registration of the settings store, plus the file-dialog filters and the hand-over of data files to the
// vendor software (open / overlay in the data system).
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/plugins/DatasystemPlugin.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CDatasystemPlugins {
public:
    CDatasystemPlugins() = default;
    // Destroys the plug-ins from the last to the first (each frees its module).
    ~CDatasystemPlugins();
    CDatasystemPlugins(const CDatasystemPlugins&) = delete;
    CDatasystemPlugins& operator=(const CDatasystemPlugins&) = delete;

    // Builds the list from the registration. programFolder ends with '/'; a registered "Path" that is relative is
    // taken relative to it, an absolute one is used unchanged. Modules that fail to load show
    // "Error Loading Module <path>" and stay in the list without a module.
    // @exception CUserException when no slot is registered, after "Error reading number of file types plugins."
    static std::unique_ptr<CDatasystemPlugins> LoadFromRegistration(const std::string& programFolder);

    int GetCount() const noexcept { return static_cast<int>(m_plugins.size()); }
    bool IsEmpty() const noexcept { return m_plugins.empty(); }
    // Plug-in i (0-based), nullptr when out of range.
    CDatasystemPlugin* GetPlugin(int i) const noexcept;
    void Append(std::unique_ptr<CDatasystemPlugin> plugin);
    // Whether any plug-in's Extension matches the file name (see CDatasystemPlugin::MatchesExtension).
    bool AnyMatchesExtension(const std::string& path) const noexcept;

    // The open-file filter for chromatogram data files: each plug-in's Filter (when it has Filter and Extension),
    // then "All known file types|" with "*<Extension>;" of each, then "||".
    // @exception CUserException for an empty list, after "Error reading number of file types plugins."
    std::string BuildChromatogramFilter() const;
    // The open-file filter for mass spectra files, from the GetMassSpecsReadFilter exports.
    // @exception CUserException for an empty list, after "Error reading number of file types plugins."
    std::string BuildMassSpecsFilter() const;

    // Hands a data file to the first eligible plug-in's DatasystemOpen; the failure messages are shown here.
    // Returns true when a plug-in opened it.
    bool OpenInDatasystem(const std::string& path) const;
    // The same for two files (DatasystemOverlay); eligibility is decided on path2, the library entry's data file.
    bool OverlayInDatasystem(const std::string& path1, const std::string& path2) const;

private:
    bool CallDatasystem(const std::string* path1, const std::string& path2) const;
    // The matching reader has no data-system export: tells the user (no silent end) and returns false.
    static bool CannotCallDatasystem(const CDatasystemPlugin& plugin, bool overlay, const std::string& path);

    std::vector<std::unique_ptr<CDatasystemPlugin>> m_plugins;
};

// The absolute module path of a registered "Path": a relative path is prefixed with the program folder, an
// absolute path is used unchanged. (The registration's drive-letter rule, read for Linux paths.)
CORVELIN_ENGINE_EXPORT std::string ResolvePluginModulePath(const std::string& registeredPath,
                                                           const std::string& programFolder);

// The process-wide list (created at start-up by CreateDatasystemPlugins). Without one an empty list is returned,
// so every read reports "No plugins loaded".
CORVELIN_ENGINE_EXPORT CDatasystemPlugins& DatasystemPlugins();
// The installed list, or nullptr when none was created.
CORVELIN_ENGINE_EXPORT CDatasystemPlugins* DatasystemPluginsIfCreated() noexcept;
// Builds the list from the registration for the running program's folder and installs it.
// @exception CUserException when no slot is registered (start-up must end).
CORVELIN_ENGINE_EXPORT void CreateDatasystemPlugins();
// Installs a list (tests, or program end with nullptr, which releases the modules). Returns the previous one.
CORVELIN_ENGINE_EXPORT std::unique_ptr<CDatasystemPlugins>
SetDatasystemPlugins(std::unique_ptr<CDatasystemPlugins> plugins);

} // namespace corvelin
