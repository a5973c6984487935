#pragma once
// Runs a search session on its own thread. The callbacks are called on that thread; the page marshals them to
// the interface thread. The running flag is the page's: the page sets it before starting, "Stop Search"
// clears it, and the search clears it at its end.
#include <atomic>
#include <functional>
#include <thread>

#include "engine/options/SearchOptions.h"
#include "engine/workflow/SearchSession.h"

namespace corvelin {

class CLibrarySearchWorker {
public:
    // The search's end: completed, stopped, or the unknown's failure with its text.
    using Finished = std::function<void(const CLibrarySearchResult& result)>;

    // Starts the search at once on copies of the session and the options, so nothing the interface thread does
    // to the shared options (a parameter file opened from the menu, for instance) can reach the running search.
    CLibrarySearchWorker(CSearchSession session, const CSearchOptions& options, std::atomic<bool>& running,
                         CLibrarySearchCallbacks callbacks, Finished finished);
    // Stops the search (clears the running flag) and waits for the thread.
    ~CLibrarySearchWorker();
    CLibrarySearchWorker(const CLibrarySearchWorker&) = delete;
    CLibrarySearchWorker& operator=(const CLibrarySearchWorker&) = delete;

    // Waits for the thread to end (the finished callback has then been called).
    void Join();

private:
    void Run();

    const CSearchSession m_session;
    const CSearchOptions m_options;
    std::atomic<bool>& m_running;
    CLibrarySearchCallbacks m_callbacks;
    Finished m_finished;
    std::thread m_thread;
};

} // namespace corvelin
