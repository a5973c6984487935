#pragma once
// Many unknowns searched in one pass over the library: each entry file is read and decoded once and compared
// with every unknown, and each unknown's rows are the rows a search of it alone gives (the same scan order, the
// same row code). Optionally only one shard of the library is searched (see LibraryShard.h).
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/scaleout/LibraryShard.h"
#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

class CSearchOptions;

struct CORVELIN_ENGINE_EXPORT CUnknownsSearchRequest {
    std::vector<std::string> UnknownPaths;
    std::string LibraryFolder; // with its trailing separator
    int MaxPeaks = 200;
    int Threads = 0;  // 0 = one per core
    CShardSpec Shard; // 0/1 = the whole library
};

struct CORVELIN_ENGINE_EXPORT CUnknownsSearchResult {
    // One per unknown path, as SearchLibrary ends for it alone; EntryCount is the number of entries searched
    // (the shard's), RowCount the rows delivered to that unknown.
    std::vector<CLibrarySearchResult> Unknowns;
    std::vector<CLibraryEntryFile> Entries; // the whole library scan, in scan order
    std::vector<std::size_t> Searched;      // indices into Entries of the entries searched (the shard's)
    long long EntriesRead = 0;              // entry files read and decoded
};

// Receives a row of one unknown: the unknown's position in UnknownPaths, the entry's index in the whole scan
// and the row's cells. Rows of one unknown come in scan order.
using UnknownRowReceiver = std::function<void(std::size_t unknown, std::size_t scanIndex, std::vector<std::string>)>;

// Reads every unknown (an unreadable one shows its message and is left out of the scan; one with too many peaks
// too), lists the library once and compares the searched entries with the readable unknowns. progress (may be
// empty in its parts) gets ProgressRange with the searched entry count and Progress per entry; its Row and
// Unknown are not called. running is tested before each entry and cleared at the end.
CORVELIN_ENGINE_EXPORT CUnknownsSearchResult SearchUnknowns(const CUnknownsSearchRequest& request,
                                                            const CSearchOptions& options, std::atomic<bool>& running,
                                                            const UnknownRowReceiver& row,
                                                            const CLibrarySearchCallbacks& progress = {});

} // namespace corvelin
