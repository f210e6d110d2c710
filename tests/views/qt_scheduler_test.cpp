// The store's scheduler on the Qt event loop: order, cancellation and the
// return of background results to the GUI thread, on real threads with
// millisecond delays and deadlines (never a fixed sleep).

#include "views/qt_scheduler.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvane {
namespace {

bool runEventsUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

TEST(QtScheduler, PostsRunOnTheGuiThreadInTheOrderTheyWereMade) {
    QtScheduler scheduler;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i)
        scheduler.post([&order, i] { order.push_back(i); });
    // Nothing runs inside post(): only the event loop runs tasks.
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(runEventsUntil([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(QtScheduler, PostsFromAnotherThreadKeepTheirOrderAndRunOnTheGuiThread) {
    QtScheduler scheduler;
    std::vector<int> order;
    std::atomic<int> offGuiThread{0};
    QThread* gui = QThread::currentThread();
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i)
            scheduler.post([&, i] {
                if (QThread::currentThread() != gui)
                    ++offGuiThread;
                order.push_back(i);
            });
    });
    poster.join();
    ASSERT_TRUE(runEventsUntil([&] { return order.size() == 100; }));
    EXPECT_EQ(offGuiThread.load(), 0);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST(QtScheduler, ACancelledDelayedTaskNeverRunsWhileItsNeighboursDo) {
    QtScheduler scheduler;
    std::vector<std::string> ran;
    auto cancelled =
        scheduler.postAfter(std::chrono::milliseconds(20), [&] { ran.push_back("x"); });
    scheduler.postAfter(std::chrono::milliseconds(40), [&] { ran.push_back("late"); });
    scheduler.postAfter(std::chrono::milliseconds(10), [&] { ran.push_back("early"); });
    cancelled.cancel();
    ASSERT_TRUE(runEventsUntil([&] { return ran.size() == 2; }));
    // Time for the cancelled one to have fired, had it not been cancelled.
    runEventsUntil([] { return false; }, 60);
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "late"}));
}

// The event loop reaches the tasks only after both fell due (a busy GUI
// thread): they still run in the order they fell due, not the order their
// timers were armed.
TEST(QtScheduler, DelayedTasksReachedLateRunInTheOrderTheyFellDue) {
    QtScheduler scheduler;
    std::vector<std::string> ran;
    scheduler.postAfter(std::chrono::milliseconds(30), [&] { ran.push_back("late"); });
    scheduler.postAfter(std::chrono::milliseconds(5), [&] { ran.push_back("early"); });
    scheduler.postAfter(std::chrono::milliseconds(30),
                        [&] { ran.push_back("late, posted after"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    ASSERT_TRUE(runEventsUntil([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"early", "late", "late, posted after"}));
}

TEST(QtScheduler, ATaskCancelledBeforeItsTimerIsArmedNeverRuns) {
    QtScheduler scheduler;
    bool ran = false;
    // Cancelled before the event loop had a chance to start the timer.
    scheduler.postAfter(Duration::zero(), [&] { ran = true; }).cancel();
    bool marker = false;
    scheduler.postAfter(std::chrono::milliseconds(5), [&] { marker = true; });
    ASSERT_TRUE(runEventsUntil([&] { return marker; }));
    EXPECT_FALSE(ran);
}

TEST(QtScheduler, ADelayedTaskWaitsForItsDelayMeasuredFromTheCall) {
    QtScheduler scheduler;
    const auto postedAt = scheduler.monotonicNow();
    MonotonicTime ranAt{};
    scheduler.postAfter(std::chrono::milliseconds(30), [&] { ranAt = scheduler.monotonicNow(); });
    ASSERT_TRUE(runEventsUntil([&] { return ranAt != MonotonicTime{}; }));
    EXPECT_GE(ranAt - postedAt, std::chrono::milliseconds(30));
}

TEST(QtScheduler, BackgroundWorkRunsOffTheGuiThreadAndItsResultComesBackOnIt) {
    QtScheduler scheduler;
    QThread* gui = QThread::currentThread();
    std::atomic<bool> workerWasGui{true};
    QThread* resultThread = nullptr;
    scheduler.runInBackground([&] {
        workerWasGui = QThread::currentThread() == gui;
        scheduler.post([&] { resultThread = QThread::currentThread(); });
    });
    ASSERT_TRUE(runEventsUntil([&] { return resultThread != nullptr; }));
    EXPECT_FALSE(workerWasGui.load());
    EXPECT_EQ(resultThread, gui);
}

TEST(QtScheduler, EndingTheSchedulerFinishesBackgroundWorkAlreadyQueued) {
    std::atomic<int> finished{0};
    {
        QtScheduler scheduler(1);
        std::mutex gate;
        std::unique_lock hold(gate);
        // The first task holds the only worker while three more queue up.
        scheduler.runInBackground([&] {
            std::lock_guard wait(gate);
            ++finished;
        });
        for (int i = 0; i < 3; ++i)
            scheduler.runInBackground([&] { ++finished; });
        hold.unlock();
    }
    EXPECT_EQ(finished.load(), 4);
}

}  // namespace
}  // namespace quorvane
