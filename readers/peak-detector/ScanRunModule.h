#pragma once
// What each raw-data reader module supplies to the plug-in exports they share (ScanRunPluginExports.cpp, linked
// into every such module): its parser and the name of its data system.
#include <string>

#include "engine/peaks/ScanRun.h"

namespace corvelin {

// Parses a data file of the module's format; throws CRunReadError when the file is refused.
CScanRun ParseModuleRun(const std::string& path);
// The module's data-system name (not beginning with "Corvelinscope", so its runs get recalibrated).
extern const char* const kModuleDataSystemName;

} // namespace corvelin
