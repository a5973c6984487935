#pragma once
// The used slots of the machine-wide "Plugins" registration. The slot count "@" is only a bound: the loops over
// the slots (loading the plug-ins, registering, the AMDIS path of the program options) visit only the
// "Plugin<n>" values the store holds, so a corrupt count such as 2147483647 costs nothing.
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The slot numbers below slots that have a "Plugin<n>" value, ascending; every number below slots when the
// store cannot list its values.
CORVELIN_ENGINE_EXPORT std::vector<int> PluginSlotIndexes(int slots);

// The slot count "@" as a bound for reading the slots: the count itself, but a negative count, or one written
// beyond the range of an int ("4294967296", which the integer reading wraps to 0), gives INT_MAX, so the slots
// present are read instead of none. 0 when no count is set.
CORVELIN_ENGINE_EXPORT int PluginSlotBound();

} // namespace corvelin
