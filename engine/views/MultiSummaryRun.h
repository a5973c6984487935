#pragma once
// One run of the multi-file peak summary: read every file through the plug-ins, sort the peaks into groups and
// order the groups by RT. Files are read in parallel ahead of the grouping, which takes them in file order, so
// the result, the status texts, the progress steps and the messages are the same as with one thread.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CMultiSummaryResultData;
class CSearchOptions;

// The status text after a run (shown for 750 ms by the page).
inline constexpr const char* kSummaryDoneText = "fertig.";

// All callbacks run on the thread that called RunMultiSummary; any may be empty.
struct CORVELIN_ENGINE_EXPORT CMultiSummaryCallbacks {
    // "File: %s " (the path from its last "/" on), then the same with "%i Peaks" appended once the file is read.
    std::function<void(const std::string& status)> Status;
    // Once per examined peak, with the running count from 1.
    std::function<void(int position)> Progress;
};

struct CORVELIN_ENGINE_EXPORT CMultiSummaryRunStats {
    int FilesRead = 0;
    int FilesFailed = 0;
    int PeaksExamined = 0;
    bool Stopped = false;                 // running was cleared before every file had been read
    std::vector<std::string> FailedPaths; // the files that could not be read, in file order
};

// Clears result, then reads paths in order (minimum area 0, messages enabled; a file that fails to read is left
// out) and groups their peaks with the options; finally sorts the groups. running is the run's stop state: once
// it is cleared no further file is read, the files being read are still grouped, and the groups found so far are
// sorted. threads: readers, the calling thread among them (0 = one per core). Nothing is thrown for unreadable
// files.
CORVELIN_ENGINE_EXPORT CMultiSummaryRunStats
RunMultiSummary(const std::vector<std::string>& paths, const CSearchOptions& options, CMultiSummaryResultData& result,
                std::atomic<bool>& running, const CMultiSummaryCallbacks& callbacks = {}, int threads = 0);

// The status text for a file: "File: " and the part of the path from its last "/" on, then a blank.
CORVELIN_ENGINE_EXPORT std::string SummaryFileStatus(const std::string& path);

} // namespace corvelin
