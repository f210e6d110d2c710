// The watchdog that ends a program whose event loop does not take a quit
// signal: the signal's byte written to a pipe as the handler writes it, the
// hand-back and the end recorded instead of run. Bounds are zero or far
// away, so no case waits on one; the waits are for the watchdog's thread.

#include "app/shell/quit_watchdog.hpp"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <future>
#include <memory>
#include <thread>

namespace quorvane::testing {
namespace {

using namespace std::chrono_literals;

class QuitWatchdogTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(::pipe(ends_), 0); }
    void TearDown() override {
        watchdog_.reset();
        ::close(ends_[0]);
        ::close(ends_[1]);
    }

    void watch(QuitWatchdog::Bounds bounds, std::function<void()> handBack = {}) {
        if (!handBack)
            handBack = [this] { handedBackAt_.store(++steps_); };
        watchdog_ = std::make_unique<QuitWatchdog>(
            ends_[0], std::move(handBack),
            [this] {
                endedAt_.store(++steps_);
                ended_.set_value();
            },
            bounds);
    }
    void signal() {
        const auto number = static_cast<unsigned char>(SIGTERM);
        ASSERT_EQ(::write(ends_[1], &number, 1), 1);
    }
    // The watchdog read the signal: what it does next does not wait.
    bool signalRead() {
        for (int turn = 0; turn < 1000; ++turn) {
            int unread = 0;
            if (::ioctl(ends_[0], FIONREAD, &unread) == 0 && unread == 0)
                return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    bool endedWithin(std::chrono::milliseconds wait) {
        return endedFuture_.wait_for(wait) == std::future_status::ready;
    }

    int ends_[2] = {-1, -1};
    std::atomic<int> steps_{0};
    std::atomic<int> handedBackAt_{0};
    std::atomic<int> endedAt_{0};
    std::promise<void> ended_;
    std::future<void> endedFuture_ = ended_.get_future();
    std::unique_ptr<QuitWatchdog> watchdog_;
};

TEST_F(QuitWatchdogTest, AQuitTheEventLoopNeverTakesHandsTheOutputsBackThenEnds) {
    watch({.answer = 0ms, .end = 1h, .handBack = 1h});
    watchdog_->listening();
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(handedBackAt_.load(), 1);
    EXPECT_EQ(endedAt_.load(), 2);
}

TEST_F(QuitWatchdogTest, BeforeTheEventLoopRunsTheStartHasTheEndsBound) {
    watch({.answer = 1h, .end = 0ms, .handBack = 1h});
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(handedBackAt_.load(), 1);
}

TEST_F(QuitWatchdogTest, AQuitTheEventLoopTookEndsByItsOwnRoadUntilItsBound) {
    watch({.answer = 0ms, .end = 1h, .handBack = 1h});
    watchdog_->listening();
    watchdog_->answered();
    signal();
    ASSERT_TRUE(signalRead());
    // Nothing comes while the program ends by itself; ended, it stops the
    // watchdog.
    EXPECT_FALSE(endedWithin(200ms));
    watchdog_.reset();
    EXPECT_EQ(steps_.load(), 0);
}

TEST_F(QuitWatchdogTest, ATakenQuitThatDoesNotEndWithinItsBoundIsEndedAllTheSame) {
    watch({.answer = 1h, .end = 0ms, .handBack = 1h});
    watchdog_->listening();
    watchdog_->answered();
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(handedBackAt_.load(), 1);
}

TEST_F(QuitWatchdogTest, AHandBackThatHangsHoldsTheEndBackNoLongerThanItsBound) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> returned;
    auto handBackReturned = returned.get_future();
    watch({.answer = 1h, .end = 0ms, .handBack = 0ms},
          [released, returned = std::make_shared<std::promise<void>>(std::move(returned))] {
              released.wait();
              returned->set_value();
          });
    signal();
    EXPECT_TRUE(endedWithin(10s));
    // The hand-back's thread outlives the watchdog's in a test only.
    release.set_value();
    EXPECT_EQ(handBackReturned.wait_for(10s), std::future_status::ready);
}

TEST_F(QuitWatchdogTest, StoppedBeforeAnyQuitSignalItDoesNothing) {
    watch({.answer = 0ms, .end = 0ms, .handBack = 0ms});
    watchdog_.reset();
    signal();
    EXPECT_EQ(steps_.load(), 0);
}

}  // namespace
}  // namespace quorvane::testing
