#pragma once
// The one way a job spreads its inputs over threads (the library search's entries, the summary's files): the
// inputs are worked on in parallel and their results handed over in input order on the calling thread, so a
// job's output does not depend on the thread count. Inputs are started in order and only while the job's
// running flag is set: after a stop no further input is started, the inputs in progress are finished and
// handed over, and what was handed over is always a prefix of the input list. An input whose work throws
// becomes that input's failure result; the job goes on with the next.
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The thread count of a job: requested (as "/Threads=" gives it; 0 or less = one per core), at least 1 and at
// most one per input.
CORVELIN_ENGINE_EXPORT unsigned RunnerThreads(int requested, std::size_t inputs);

// The scheduling under RunInOrder, for any result type. work(input, worker) is called once per started input on
// one of `threads` threads (worker 0 is the calling thread, which works too whenever the next result is not
// ready); done(input) is called on the calling thread in input order once work(input) has returned. Workers stay
// at most a few inputs ahead of the hand-over. An exception leaving work or done ends the run: the inputs in
// progress are finished, every thread is joined, and the first exception is rethrown. Returns how many inputs
// were handed over.
CORVELIN_ENGINE_EXPORT std::size_t RunOrdered(std::size_t inputs, unsigned threads, std::atomic<bool>& running,
                                              const std::function<void(std::size_t input, unsigned worker)>& work,
                                              const std::function<void(std::size_t input)>& done);

// Runs work(input, worker) -> Result for every input (worker numbers the threads from 0, for state a thread
// keeps between its inputs) and calls deliver(input, Result&&) in input order on the calling thread. An input
// whose work throws is delivered as failed(input, reason), reason being the exception's text. Returns how many
// inputs were delivered: all of them unless running was cleared. Out of memory ends the run (std::bad_alloc passes
// on to the caller after every worker has ended).
template <class Result, class Work, class Failed, class Deliver>
std::size_t RunInOrder(std::size_t inputs, unsigned threads, std::atomic<bool>& running, Work&& work, Failed&& failed,
                       Deliver&& deliver)
{
    std::vector<std::optional<Result>> results(inputs);
    return RunOrdered(
        inputs, threads, running,
        [&](std::size_t input, unsigned worker) {
            try {
                results[input].emplace(work(input, worker));
            } catch (const std::bad_alloc&) {
                throw; // out of memory ends the run: the rows after it could not be trusted
            } catch (const std::exception& e) {
                results[input].emplace(failed(input, std::string(e.what())));
            } catch (...) {
                results[input].emplace(failed(input, std::string("unknown error")));
            }
        },
        [&](std::size_t input) {
            Result result = std::move(*results[input]);
            results[input].reset();
            deliver(input, std::move(result));
        });
}

} // namespace corvelin
