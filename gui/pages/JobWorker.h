#pragma once
// Runs the long work of a page (a library search, a multi-file summary, a compare) off the interface thread, one
// job at a time. Every job gets a running flag of its own: stopping or abandoning one job can never reach the
// next. A job reports progress and hands results to the interface thread through its CJob; its end is the
// one signal finished(), emitted on the interface thread after everything the job handed over has run.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace corvelin {

class CJobWorker : public QObject {
    Q_OBJECT
public:
    // What a running job sees; it lives until the job's end has been handled.
    class CJob {
    public:
        explicit CJob(CJobWorker& worker) : m_worker(worker) {}
        // The job's own stop state: set at its start, cleared by Stop (or by the engine at the job's end).
        std::atomic<bool>& Running() noexcept { return m_running; }
        // Hands a position to the progress signal. Positions given faster than the interface thread takes
        // them are merged into the latest, so a fast job never floods the event queue.
        void Progress(int position);
        // Runs fn on the interface thread after everything handed over before it; never runs once the worker
        // is gone.
        void Post(std::function<void()> fn);

    private:
        friend class CJobWorker;
        CJobWorker& m_worker;
        std::atomic<bool> m_running{true};
        std::atomic<int> m_position{0};
        std::atomic<bool> m_positionPosted{false};
        std::thread m_thread;
    };
    using Body = std::function<void(CJob& job)>;

    explicit CJobWorker(QObject* parent = nullptr);
    // Stops the job and waits for its thread; nothing the job handed over runs afterwards.
    ~CJobWorker() override;
    CJobWorker(const CJobWorker&) = delete;
    CJobWorker& operator=(const CJobWorker&) = delete;

    // Starts body on a thread of its own with a fresh running flag; false, starting nothing, while a job runs.
    // An exception that leaves body ends the job like a normal end (the page's body decides what it means).
    bool Start(Body body);
    // Clears the running job's flag; the job ends at its next check. Nothing when no job runs.
    void Stop();
    // From Start until finished() has been emitted.
    bool IsRunning() const noexcept { return m_job != nullptr; }

signals:
    void progress(int position);
    void finished();

private:
    void OnJobEnded();

    std::unique_ptr<CJob> m_job;
};

} // namespace corvelin
