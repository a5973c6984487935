#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/workflow/OrderedRunner.h"

using namespace corvelin;

namespace {

struct RunCase {
    unsigned threads;
    std::size_t inputs;
    int throwingInput;        // -1: none; its work throws
    std::size_t stopAfter;    // running is cleared when this many have been delivered (inputs: never)
    std::size_t wantMaxCount; // the most inputs that may be delivered
};

class OrderedRunnerTest : public ::testing::TestWithParam<RunCase> {};

// Results come in input order whatever the threads; a throwing input becomes its failure result and the run goes
// on; after a stop nothing new starts, so every input worked on is delivered and those are a prefix.
TEST_P(OrderedRunnerTest, DeliversInOrderAndStopsCleanly)
{
    const RunCase c = GetParam();
    std::atomic<bool> running{true};
    std::atomic<std::size_t> worked{0};
    std::vector<std::string> delivered;
    const std::size_t count = RunInOrder<std::string>(
        c.inputs, c.threads, running,
        [&](std::size_t i, unsigned worker) {
            EXPECT_LT(worker, c.threads);
            ++worked;
            if (static_cast<int>(i) == c.throwingInput)
                throw std::runtime_error("bad input " + std::to_string(i));
            return "row " + std::to_string(i);
        },
        [](std::size_t i, const std::string& reason) { return "warning " + std::to_string(i) + ": " + reason; },
        [&](std::size_t i, std::string&& row) {
            EXPECT_EQ(delivered.size(), i);
            delivered.push_back(std::move(row));
            if (delivered.size() == c.stopAfter)
                running.store(false);
        });
    EXPECT_EQ(delivered.size(), count);
    EXPECT_EQ(worked.load(), count);
    EXPECT_LE(count, c.wantMaxCount);
    if (c.stopAfter >= c.inputs)
        EXPECT_EQ(c.inputs, count);
    else
        EXPECT_GE(count, c.stopAfter);
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(static_cast<int>(i) == c.throwingInput
                      ? "warning " + std::to_string(i) + ": bad input " + std::to_string(i)
                      : "row " + std::to_string(i),
                  delivered[i]);
}

INSTANTIATE_TEST_SUITE_P(Runs, OrderedRunnerTest,
                         ::testing::Values(RunCase{1, 50, -1, 50, 50}, RunCase{4, 200, -1, 200, 200},
                                           RunCase{1, 20, 7, 20, 20}, RunCase{3, 100, 0, 100, 100},
                                           RunCase{8, 100, 99, 100, 100}, RunCase{1, 100, -1, 5, 5},
                                           RunCase{4, 1000, -1, 10, 10 + 2 * 4 + 4}, RunCase{2, 0, -1, 0, 0},
                                           RunCase{4, 300, 3, 3, 3 + 2 * 4 + 4}));

// A fault of the receiver, or out of memory in one input's work, ends the run: every thread is joined and the
// fault reaches the caller (out of memory is no input's failure row).
TEST(OrderedRunner, ReceiverFaultOrOutOfMemoryEndsTheRun)
{
    for (const bool outOfMemory : {false, true}) {
        for (unsigned threads : {1u, 4u}) {
            std::atomic<bool> running{true};
            std::atomic<std::size_t> worked{0};
            const auto run = [&] {
                RunInOrder<int>(
                    500, threads, running,
                    [&](std::size_t i, unsigned) {
                        ++worked;
                        if (outOfMemory && i == 5)
                            throw std::bad_alloc();
                        return static_cast<int>(i);
                    },
                    [](std::size_t, const std::string&) { return -1; },
                    [&](std::size_t i, int&&) {
                        if (!outOfMemory && i == 5)
                            throw std::logic_error("receiver");
                    });
            };
            if (outOfMemory)
                EXPECT_THROW(run(), std::bad_alloc);
            else
                EXPECT_THROW(run(), std::logic_error);
            EXPECT_LT(worked.load(), 500u);
        }
    }
}

TEST(OrderedRunner, ThreadCount)
{
    EXPECT_EQ(3u, RunnerThreads(3, 10));
    EXPECT_EQ(2u, RunnerThreads(8, 2));
    EXPECT_EQ(1u, RunnerThreads(4, 0));
    EXPECT_GE(RunnerThreads(0, 1000), 1u);
}

} // namespace
