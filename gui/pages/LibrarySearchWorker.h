#pragma once
// Runs the engine's library search on its own thread. The callbacks are called on that thread; the page
// marshals them to the interface thread. The running flag is the page's: the page sets it before starting,
// "Stop Search" clears it, and the search clears it at its end.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/options/SearchOptions.h"
#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

class CLibrarySearchWorker {
public:
    struct Callbacks {
        std::function<void(int peakCount, std::string sampleName, std::string dataSystemName)> unknownRead;
        std::function<void(int entryCount)> scanStarted;
        std::function<void(int position)> progress;
        std::function<void(std::vector<std::string> cells)> row;
        // The search's end: completed, stopped, or the unknown's failure with its text.
        std::function<void(const CLibrarySearchResult& result)> finished;
    };

    // Starts the search at once on a copy of options, so nothing the interface thread does to the shared
    // options (a parameter file opened from the menu, for instance) can reach the running search.
    CLibrarySearchWorker(std::string unknownPath, std::string libraryFolder, int maxPeaks,
                         const CSearchOptions& options, std::atomic<bool>& running, Callbacks callbacks);
    // Stops the search (clears the running flag) and waits for the thread.
    ~CLibrarySearchWorker();
    CLibrarySearchWorker(const CLibrarySearchWorker&) = delete;
    CLibrarySearchWorker& operator=(const CLibrarySearchWorker&) = delete;

    // Waits for the thread to end (the finished callback has then been called).
    void Join();

private:
    void Run();

    std::string m_unknownPath;
    std::string m_libraryFolder;
    int m_maxPeaks;
    const CSearchOptions m_options;
    std::atomic<bool>& m_running;
    Callbacks m_callbacks;
    std::thread m_thread;
};

} // namespace corvelin
