#include "gui/pages/LibrarySearchWorker.h"

namespace corvelin {

CLibrarySearchWorker::CLibrarySearchWorker(CSearchSession session, const CSearchOptions& options,
                                           std::atomic<bool>& running, CLibrarySearchCallbacks callbacks,
                                           Finished finished)
    : m_session(std::move(session)), m_options(options), m_running(running), m_callbacks(std::move(callbacks)),
      m_finished(std::move(finished))
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
    CLibrarySearchResult result;
    try {
        result = m_session.Run(m_options, m_running, m_callbacks);
    } catch (const std::exception&) {
        // Nothing in the search throws for bad input; anything else ends the search like an unreadable unknown.
        result.End = LibrarySearchEnd::UnknownUnreadable;
    }
    m_running = false;
    if (m_finished)
        m_finished(result);
}

} // namespace corvelin
