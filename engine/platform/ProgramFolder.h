#pragma once
// The folder of the running executable (it holds "config.ini" and, by default, "settings.ini").
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// With a trailing '/'. "./" when the executable's path cannot be determined.
CORVELIN_ENGINE_EXPORT std::string ProgramFolder();

} // namespace corvelin
