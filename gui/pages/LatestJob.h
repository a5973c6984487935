#pragma once
// The job of a page whose newest request is the only one that counts (a matrix or table build, a match compare):
// a request while a job runs stops that job and starts once it has ended, and what a stopped or superseded job
// hands over never reaches the page. One worker thread, one job at a time (CJobWorker); busy from the first
// request until the job of the newest one has ended.
#include <QObject>
#include <functional>

#include "gui/pages/JobWorker.h"

class QPushButton;

namespace corvelin {

class CLatestJob : public QObject {
    Q_OBJECT
public:
    // Hands fn to the interface thread; it runs there only if the job is still the newest request then.
    using Deliver = std::function<void(std::function<void()> fn)>;
    using Body = std::function<void(CJobWorker::CJob& job, const Deliver& deliver)>;

    explicit CLatestJob(QObject* parent = nullptr);
    // Stops the job and waits for its thread (its body works on copies, so this is one step of its work).
    ~CLatestJob() override;

    // Runs body as the newest request: at once when idle, else once the running job (now stopped) has ended.
    void Start(Body body);
    // Stops the running job and drops a waiting request; nothing is handed over afterwards.
    void Stop();
    bool IsBusy() const noexcept { return m_busy; }

signals:
    // Busy state changes: true at the first request, false once the last job has ended.
    void busyChanged(bool busy);

private:
    void Launch(Body body);
    void OnJobEnded();

    CJobWorker* m_worker = nullptr;
    Body m_waiting;
    int m_generation = 0; // of the newest request; a delivery of an older one is dropped
    bool m_busy = false;
};

// A page's build button over its job: a click builds while the job is idle and stops it while busy; it reads
// "Stop" while busy and its own text again once idle.
void BindBuildButton(QPushButton& button, CLatestJob& job, std::function<void()> build, std::function<void()> stop);

} // namespace corvelin
