#pragma once
// The files a multi-file peak summary reads, from the files and folders a user named: each file once, whatever
// its spelling ("a.txt", "./a.txt" and the absolute path are one file), and every named input that is left out
// with the reason, so that a summary never silently covers less than was asked for.
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CSummaryLeftOut {
    std::string Path;
    std::string Reason; // "No such file or directory", ...
};

struct CORVELIN_ENGINE_EXPORT CSummaryInputs {
    std::vector<std::string> Paths; // in the order given; a folder's files (those pluginReads takes) by name
    std::vector<CSummaryLeftOut> LeftOut;
};

// Resolves the inputs. A named file is taken whatever its name (its reader refuses it if need be); a folder gives
// its regular files whose names pluginReads accepts; a path that cannot be examined is left out with the
// system's reason. A file reached again (by another spelling, a link or a folder) is taken at its first place.
CORVELIN_ENGINE_EXPORT CSummaryInputs ResolveSummaryInputs(const std::vector<std::string>& given,
                                                           const std::function<bool(const std::string&)>& pluginReads);

// Whether path names one of files (the same file by device and inode), so that an output never replaces one of
// its own inputs.
CORVELIN_ENGINE_EXPORT bool IsOneOfTheFiles(const std::string& path, const std::vector<std::string>& files);

} // namespace corvelin
