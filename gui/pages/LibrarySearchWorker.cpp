#include "gui/pages/LibrarySearchWorker.h"

#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

CLibrarySearchWorker::CLibrarySearchWorker(std::string unknownPath, std::string libraryFolder, int maxPeaks,
                                           const CSearchOptions& options, std::atomic<bool>& running,
                                           Callbacks callbacks)
    : m_unknownPath(std::move(unknownPath)), m_libraryFolder(std::move(libraryFolder)), m_maxPeaks(maxPeaks),
      m_options(options), m_running(running), m_callbacks(std::move(callbacks))
{
    m_thread = std::thread([this] { Run(); });
}

CLibrarySearchWorker::~CLibrarySearchWorker()
{
    m_running = false;
    Join();
}

void CLibrarySearchWorker::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void CLibrarySearchWorker::Run()
{
    CLibrarySearchRequest request;
    request.UnknownPath = m_unknownPath;
    request.LibraryFolder = m_libraryFolder;
    request.MaxPeaks = m_maxPeaks;

    CLibrarySearchCallbacks callbacks;
    callbacks.Unknown = [this](const CUnknownInfo& info) {
        if (m_callbacks.unknownRead)
            m_callbacks.unknownRead(info.PeakCount, info.SampleName, info.DataSystemName);
    };
    callbacks.ProgressRange = [this](int range) {
        if (m_callbacks.scanStarted)
            m_callbacks.scanStarted(range);
    };
    callbacks.Progress = [this](int position) {
        if (m_callbacks.progress)
            m_callbacks.progress(position);
    };
    callbacks.Row = [this](std::vector<std::string> cells) {
        if (m_callbacks.row)
            m_callbacks.row(std::move(cells));
    };

    CLibrarySearchResult result;
    try {
        result = SearchLibrary(request, m_options, m_running, callbacks);
    } catch (const std::exception&) {
        // Nothing in the search throws for bad input; anything else ends the search like an unreadable unknown.
        result.End = LibrarySearchEnd::UnknownUnreadable;
    }
    m_running = false;
    if (m_callbacks.finished)
        m_callbacks.finished(result);
}

} // namespace corvelin
