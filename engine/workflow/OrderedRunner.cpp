#include "engine/workflow/OrderedRunner.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace corvelin {

namespace {

// The state the threads of one run share; every member is guarded by mutex.
struct CRunState {
    std::mutex mutex;
    std::condition_variable ready; // an input's work ended (or the run failed)
    std::condition_variable room;  // an input was handed over (or the run ends)
    std::vector<char> finished;    // per input: its work has returned
    std::size_t started = 0;       // inputs claimed so far, in order
    std::size_t handedOver = 0;    // inputs handed over so far
    std::size_t lookAhead = 0;
    bool ended = false;
    std::exception_ptr error;
};

} // namespace

unsigned RunnerThreads(int requested, std::size_t inputs)
{
    const unsigned threads =
        requested > 0 ? static_cast<unsigned>(requested) : std::max(1u, std::thread::hardware_concurrency());
    return std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(std::min<std::size_t>(inputs, 1u << 16))));
}

std::size_t RunOrdered(std::size_t inputs, unsigned threads, std::atomic<bool>& running,
                       const std::function<void(std::size_t, unsigned)>& work,
                       const std::function<void(std::size_t)>& done)
{
    if (threads <= 1 || inputs <= 1) {
        std::size_t count = 0;
        for (; count < inputs && running.load(); ++count) {
            work(count, 0);
            done(count);
        }
        return count;
    }

    CRunState s;
    s.finished.assign(inputs, 0);
    s.lookAhead = 2 * static_cast<std::size_t>(threads);
    const auto canStart = [&] {
        return !s.ended && !s.error && running.load() && s.started < inputs && s.started < s.handedOver + s.lookAhead;
    };
    // Works on the input just claimed; called and returning with the lock held.
    const auto workOn = [&](std::unique_lock<std::mutex>& lock, std::size_t input, unsigned worker) {
        lock.unlock();
        std::exception_ptr error;
        try {
            work(input, worker);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (error && !s.error)
            s.error = error;
        s.finished[input] = 1;
        s.ready.notify_all();
    };

    std::vector<std::thread> pool;
    const auto endRun = [&] {
        {
            std::lock_guard lock(s.mutex);
            s.ended = true;
        }
        s.room.notify_all();
        for (std::thread& t : pool)
            t.join();
        pool.clear();
    };
    try {
        for (unsigned w = 1; w < threads; ++w)
            pool.emplace_back([&, w] {
                std::unique_lock lock(s.mutex);
                for (;;) {
                    s.room.wait(lock, [&] { return canStart() || s.ended || s.error || !running.load(); });
                    if (!canStart())
                        return;
                    workOn(lock, s.started++, w);
                }
            });
    } catch (...) {
        endRun(); // no thread could be made: the ones made end, the error goes to the caller
        throw;
    }

    std::size_t next = 0;
    try {
        for (;; ++next) {
            std::unique_lock lock(s.mutex);
            while (!s.error && !(next < s.started && s.finished[next])) {
                if (canStart())
                    workOn(lock, s.started++, 0);
                else if (next >= s.started)
                    break; // nothing more will start: every started input has been handed over
                else
                    s.ready.wait(lock);
            }
            if (s.error)
                std::rethrow_exception(s.error);
            if (next >= s.started)
                break;
            s.handedOver = next + 1;
            lock.unlock();
            s.room.notify_all();
            done(next);
        }
    } catch (...) {
        endRun();
        throw;
    }
    endRun();
    return next;
}

} // namespace corvelin
