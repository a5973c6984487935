#include "gui/pages/JobWorker.h"

#include <exception>

namespace corvelin {

void CJobWorker::CJob::Progress(int position)
{
    m_position.store(position);
    if (m_positionPosted.exchange(true))
        return;
    Post([this] {
        m_positionPosted.store(false);
        emit m_worker.progress(m_position.load());
    });
}

void CJobWorker::CJob::Post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(&m_worker, std::move(fn), Qt::QueuedConnection);
}

CJobWorker::CJobWorker(QObject* parent) : QObject(parent) {}

CJobWorker::~CJobWorker()
{
    if (!m_job)
        return;
    m_job->m_running.store(false);
    if (m_job->m_thread.joinable())
        m_job->m_thread.join();
}

bool CJobWorker::Start(Body body)
{
    if (m_job)
        return false;
    m_job = std::make_unique<CJob>(*this);
    CJob* job = m_job.get();
    job->m_thread = std::thread([job, body = std::move(body)] {
        try {
            body(*job);
        } catch (const std::exception&) {
            // The job's end is reported all the same; what it means is the body's to record before it throws.
        }
        job->Post([worker = &job->m_worker] { worker->OnJobEnded(); });
    });
    return true;
}

void CJobWorker::Stop()
{
    if (m_job)
        m_job->m_running.store(false);
}

void CJobWorker::OnJobEnded()
{
    if (!m_job)
        return;
    if (m_job->m_thread.joinable())
        m_job->m_thread.join();
    m_job.reset();
    emit finished();
}

} // namespace corvelin
