#pragma once
// Writing and listing the machine-wide "Plugins" registration through the settings store: what an installation
// does to register a reader module (the build and `cmake --install` run corvelinscope-register, which calls this).
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/options/PluginSlots.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT PluginRegistration {
    std::string Key;       // slot value "Plugin<n>" and the section name "Plugins\<Key>"
    std::string Name;      // display name (the section's default value)
    std::string Path;      // module file; relative = relative to the program folder
    std::string Extension; // data-file ending, may be empty
    std::string Filter;    // file-dialog part, may be empty
    bool Load = true;      // "Load This Plugin" (read only; registering leaves it alone)
    int Slot = -1;         // slot index (read only)
};

// Adds or updates the registration of reg.Key: a key that already has a slot keeps it (compared ignoring case),
// a new key takes the first empty slot or a new one at the end (the slot count grows). The section's display name,
// "Path", "Extension" and "Filter" are written; "Load This Plugin" and other values stay. Returns the slot.
// Registering and removing hold CSettingsFileLock, so parallel calls (also from other processes) lose nothing.
CORVELIN_ENGINE_EXPORT int RegisterPlugin(const PluginRegistration& reg);
// Empties the slot of key (the section stays). Returns false when the key has no slot.
CORVELIN_ENGINE_EXPORT bool UnregisterPlugin(const std::string& key);
// Every used slot in order, with its section's values.
CORVELIN_ENGINE_EXPORT std::vector<PluginRegistration> ReadPluginRegistrations();

} // namespace corvelin
