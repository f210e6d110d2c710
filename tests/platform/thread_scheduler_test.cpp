#include "platform/linux/thread_scheduler.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/system_sleeper.hpp"

namespace quorvane {
namespace {

using std::chrono::milliseconds;

// Generous against slow sanitizer builds; the loops normally end in
// milliseconds.
constexpr auto kLimit = milliseconds(2000);

TEST(ThreadScheduler, RunsPostsInOrderAndDelaysAfterTheirDelay) {
    ThreadScheduler scheduler;
    std::vector<std::string> order;
    const auto start = scheduler.monotonicNow();
    MonotonicTime delayedAt{};
    scheduler.postAfter(milliseconds(15), [&] {
        delayedAt = scheduler.monotonicNow();
        order.push_back("delayed");
    });
    scheduler.postAfter(milliseconds(5), [&] { order.push_back("short"); });
    scheduler.post([&] { order.push_back("first"); });
    scheduler.post([&] { order.push_back("second"); });

    ASSERT_TRUE(scheduler.runUntil([&] { return order.size() == 4; }, kLimit));
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "short", "delayed"}));
    EXPECT_GE(delayedAt - start, milliseconds(15));
}

TEST(ThreadScheduler, CancelledDelayNeverRunsAndStopEndsRun) {
    ThreadScheduler scheduler;
    bool cancelledRan = false;
    auto handle = scheduler.postAfter(milliseconds(5), [&] { cancelledRan = true; });
    handle.cancel();
    scheduler.postAfter(milliseconds(20), [&] { scheduler.stop(); });
    scheduler.run();
    EXPECT_FALSE(cancelledRan);

    // Each stop ends one loop: the next run waits for its own stop.
    bool ran = false;
    scheduler.post([&] {
        ran = true;
        scheduler.stop();
    });
    scheduler.run();
    EXPECT_TRUE(ran);
}

TEST(ThreadScheduler, BackgroundWorkRunsOffTheOwnerThreadAndPostsBack) {
    ThreadScheduler scheduler;
    const auto owner = std::this_thread::get_id();
    std::atomic<int> offOwnerThread{0};
    int results = 0;
    for (int i = 0; i < 8; ++i) {
        scheduler.runInBackground([&] {
            if (std::this_thread::get_id() != owner)
                ++offOwnerThread;
            SystemSleeper().sleepFor(milliseconds(1));
            scheduler.post([&] {
                EXPECT_EQ(std::this_thread::get_id(), owner);
                ++results;
            });
        });
    }
    ASSERT_TRUE(scheduler.runUntil([&] { return results == 8; }, kLimit));
    EXPECT_EQ(offOwnerThread.load(), 8);
}

TEST(ThreadScheduler, RunUntilGivesUpAfterItsTimeoutAndStopFromAnotherThreadWakesIt) {
    ThreadScheduler scheduler;
    EXPECT_FALSE(scheduler.runUntil([] { return false; }, milliseconds(10)));
    std::thread stopper([&] {
        SystemSleeper().sleepFor(milliseconds(5));
        scheduler.stop();
    });
    scheduler.run();
    stopper.join();
}

TEST(ThreadScheduler, DestructionFinishesQueuedBackgroundWork) {
    std::atomic<int> done{0};
    {
        ThreadScheduler scheduler(1);
        for (int i = 0; i < 5; ++i) {
            scheduler.runInBackground([&] {
                SystemSleeper().sleepFor(milliseconds(1));
                ++done;
            });
        }
    }
    EXPECT_EQ(done.load(), 5);
}

}  // namespace
}  // namespace quorvane
