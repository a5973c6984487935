#pragma once
// Whether a library folder can be searched before a search starts: a search of a folder that is not there
// would report "No data in library" as if the library were empty, and an empty folder or "/" would walk the
// whole file system.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// "" when the folder can be searched; otherwise the reason as a sentence naming the folder: no folder given,
// the root folder, a folder that does not exist, or a path that is not a folder.
CORVELIN_ENGINE_EXPORT std::string LibraryFolderProblem(const std::string& folder);

} // namespace corvelin
