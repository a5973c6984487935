#pragma once
// The folder of the running executable (it holds "config.ini" and, by default, "settings.ini").
#include <string>

namespace corvelin {

// With a trailing '/'. "./" when the executable's path cannot be determined.
std::string ProgramFolder();

}  // namespace corvelin
