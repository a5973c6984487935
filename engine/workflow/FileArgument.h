#pragma once
// A file named on the command line without a keyword, as a desktop's "open with" passes it
// (corvelinscope /data/run1.ChromLibEntry). The command line itself ignores such an argument; the desktop
// program shows the file: a search parameter file (".spf") is loaded into the start-up options, any other file
// is shown on the "Add Chromatogram" page with "just display" (nothing is converted).
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CFileArgument {
    std::string Path;             // empty: none
    bool IsParameterFile = false; // ends with ".spf" (any case)
};

// The first argument after args[0] that names an existing regular file and does not read as a keyword of the
// command line ("/Word=...", "/Save", "/Print", "/Debug..."). Keyword arguments are never taken, even when a
// file of that name exists.
CORVELIN_ENGINE_EXPORT CFileArgument FindFileArgument(const std::vector<std::string>& args);

} // namespace corvelin
