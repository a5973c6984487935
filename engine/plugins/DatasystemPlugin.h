#pragma once
// One registered data-system plug-in: its module (PDLL) and the registration texts. A plug-in whose module did
// not load stays in the list; every call into it then does nothing (Resolve gives nullptr).
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/plugins/PDLL.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CDatasystemPlugin : public PDLL {
public:
    // Loads the module at once; a failed load shows "Error Loading Module <path>" when showMessages is set.
    explicit CDatasystemPlugin(std::string modulePath, bool showMessages = true);
    ~CDatasystemPlugin() override;

    bool HasModule() const noexcept { return IsLoaded(); }
    // Whether path ends with Extension, ignoring case. An empty Extension matches every path.
    bool MatchesExtension(const std::string& path) const noexcept;

    std::string Name;            // display name (the section's default value)
    std::string Extension;       // data-file ending, for example ".cdf"
    std::string Filter;          // file-dialog part: description, "|", pattern
    std::string RegisteredPath;  // "Path" as registered, before it was made absolute
    std::string SettingsSection; // "Plugins\<key>", handed to SetRegistryPath (empty when not registered)
};

// Whether text ends with ending, ignoring ASCII case.
CORVELIN_ENGINE_EXPORT bool EndsWithNoCase(const std::string& text, const std::string& ending) noexcept;

} // namespace corvelin
