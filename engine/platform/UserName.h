#pragma once
// The logged-on user's name: the login name of the effective user (part of per-user INI section names).
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// At most 260 characters. Falls back to $USER, then $LOGNAME, then the numeric user id.
CORVELIN_ENGINE_EXPORT std::string LoggedOnUserName();

} // namespace corvelin
