#include "gui/pages/LatestJob.h"

#include <QPushButton>

namespace corvelin {

CLatestJob::CLatestJob(QObject* parent) : QObject(parent), m_worker(new CJobWorker(this))
{
    connect(m_worker, &CJobWorker::finished, this, &CLatestJob::OnJobEnded);
}

CLatestJob::~CLatestJob()
{
    delete m_worker;
}

void CLatestJob::Start(Body body)
{
    ++m_generation;
    if (!m_busy) {
        m_busy = true;
        emit busyChanged(true);
    }
    if (m_worker->IsRunning()) {
        m_worker->Stop();
        m_waiting = std::move(body);
        return;
    }
    Launch(std::move(body));
}

void CLatestJob::Stop()
{
    ++m_generation;
    m_waiting = nullptr;
    m_worker->Stop();
}

void CLatestJob::Launch(Body body)
{
    const int generation = m_generation;
    m_worker->Start([this, generation, body = std::move(body)](CJobWorker::CJob& job) {
        body(job, [this, generation, &job](std::function<void()> fn) {
            job.Post([this, generation, fn = std::move(fn)] {
                if (generation == m_generation)
                    fn();
            });
        });
    });
}

void CLatestJob::OnJobEnded()
{
    if (m_waiting) {
        Launch(std::move(m_waiting));
        m_waiting = nullptr;
        return;
    }
    m_busy = false;
    emit busyChanged(false);
}

void BindBuildButton(QPushButton& button, CLatestJob& job, std::function<void()> build, std::function<void()> stop)
{
    QObject::connect(&button, &QPushButton::clicked, &job, [&job, build = std::move(build), stop = std::move(stop)] {
        if (job.IsBusy())
            stop();
        else
            build();
    });
    QObject::connect(&job, &CLatestJob::busyChanged, &button, [&button, idle = button.text()](bool busy) {
        button.setText(busy ? QStringLiteral("Stop") : idle);
    });
}

} // namespace corvelin
