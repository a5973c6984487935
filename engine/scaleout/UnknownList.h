#pragma once
// The unknowns of "/Unknowns=<folder or list file>": a folder gives its regular files that a loaded
// data-system plug-in reads (by the plug-in's extension), sorted by name, leaving out this program's own
// outputs (CSV reports, shard result files); a list file gives one path a line (blank lines skipped, a trailing
// CR dropped, paths as written).
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

// @exception CUserException when the path is neither a folder nor a readable list file of at most 64 MiB.
CORVELIN_ENGINE_EXPORT std::vector<std::string> UnknownsOf(const std::string& folderOrList);

} // namespace corvelin
