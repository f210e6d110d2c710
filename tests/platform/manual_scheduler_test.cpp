#include "platform/simulated/manual_scheduler.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane {
namespace {

using std::chrono::milliseconds;

TEST(ManualScheduler, RunsPostedTasksInOrderAndDelayedTasksByDueTimeThenPostingOrder) {
    ManualScheduler scheduler;
    std::vector<std::string> order;
    scheduler.postAfter(milliseconds(20), [&] { order.push_back("late"); });
    scheduler.postAfter(milliseconds(10), [&] { order.push_back("tie-1"); });
    scheduler.postAfter(milliseconds(10), [&] { order.push_back("tie-2"); });
    scheduler.post([&] { order.push_back("a"); });
    scheduler.post([&] {
        order.push_back("b");
        scheduler.post([&] { order.push_back("b-follow-up"); });
    });

    scheduler.runUntilIdle();
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "b-follow-up"}));
    EXPECT_EQ(scheduler.pendingCount(), 3u);

    scheduler.advance(milliseconds(9));
    EXPECT_EQ(order.size(), 3u);
    scheduler.advance(milliseconds(11));
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "b-follow-up", "tie-1", "tie-2", "late"}));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(ManualScheduler, CancelledTasksNeverRun) {
    ManualScheduler scheduler;
    int runs = 0;
    auto handle = scheduler.postAfter(milliseconds(5), [&] { ++runs; });
    auto copy = handle;
    copy.cancel();
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    scheduler.advance(milliseconds(10));
    EXPECT_EQ(runs, 0);

    // Cancelling from an earlier task in the same step still wins.
    TaskHandle later;
    scheduler.postAfter(milliseconds(5), [&] { later.cancel(); });
    later = scheduler.postAfter(milliseconds(5), [&] { ++runs; });
    scheduler.advance(milliseconds(5));
    EXPECT_EQ(runs, 0);
}

TEST(ManualScheduler, AdvanceRunsChainedDelaysAtTheirOwnVirtualTimes) {
    ManualScheduler scheduler;
    const auto start = scheduler.monotonicNow();
    std::vector<Duration> ranAt;
    std::function<void()> step = [&] {
        ranAt.push_back(scheduler.monotonicNow() - start);
        if (ranAt.size() < 3)
            scheduler.postAfter(milliseconds(200), step);
    };
    scheduler.postAfter(milliseconds(200), step);

    scheduler.advance(milliseconds(500));
    EXPECT_EQ(ranAt, (std::vector<Duration>{milliseconds(200), milliseconds(400)}));
    EXPECT_EQ(scheduler.monotonicNow() - start, milliseconds(500));

    scheduler.advanceTo(start + milliseconds(600));
    EXPECT_EQ(ranAt.back(), milliseconds(600));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(ManualScheduler, PausedBackgroundWorkIsHeldUntilReleasedOneTaskAtATime) {
    ManualScheduler scheduler;
    std::vector<std::string> order;
    scheduler.pauseBackground(true);
    scheduler.runInBackground([&] {
        order.push_back("slow transaction");
        scheduler.post([&] { order.push_back("result"); });
    });
    scheduler.runInBackground([&] { order.push_back("second"); });

    scheduler.advance(seconds(8));
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(scheduler.pendingBackgroundCount(), 2u);

    EXPECT_TRUE(scheduler.runNextBackgroundTask());
    EXPECT_EQ(order, (std::vector<std::string>{"slow transaction"}));
    scheduler.runUntilIdle();
    EXPECT_EQ(order, (std::vector<std::string>{"slow transaction", "result"}));

    scheduler.pauseBackground(false);
    scheduler.runUntilIdle();
    EXPECT_EQ(order.back(), "second");
    EXPECT_FALSE(scheduler.runNextBackgroundTask());
}

TEST(ManualScheduler, SleepInBackgroundMovesTheClockAndDueTasksRunAfterwardsInOrder) {
    ManualScheduler scheduler;
    const auto start = scheduler.monotonicNow();
    std::vector<std::string> order;
    scheduler.postAfter(milliseconds(40), [&] { order.push_back("timer"); });
    scheduler.runInBackground([&] {
        scheduler.sleepFor(milliseconds(50));
        order.push_back("slept");
        scheduler.post([&] { order.push_back("reply"); });
    });

    scheduler.runUntilIdle();
    EXPECT_EQ(scheduler.monotonicNow() - start, milliseconds(50));
    EXPECT_EQ(order, (std::vector<std::string>{"slept", "timer", "reply"}));

    // A sleep that carries the clock past an advance target never moves it back.
    scheduler.runInBackground([&] { scheduler.sleepFor(milliseconds(100)); });
    scheduler.advance(milliseconds(10));
    EXPECT_EQ(scheduler.monotonicNow() - start, milliseconds(150));
}

}  // namespace
}  // namespace quorvane
