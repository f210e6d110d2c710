// The watchdog that ends a program whose event loop does not take a quit
// signal: the signal's byte written to a pipe the watchdog takes it from,
// its X server and its clock stand-ins the test drives, the hand-back and
// the end recorded instead of run. Bounds are zero or far away, or passed by
// the test's clock; the waits are for the watchdog's thread, never a time.

#include "app/shell/quit_watchdog.hpp"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace quorvane::testing {
namespace {

using namespace std::chrono_literals;

// Polls `done` for up to ten seconds: for the watchdog's threads.
bool soon(const std::function<bool()>& done) {
    for (int turn = 0; turn < 10000; ++turn) {
        if (done())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return done();
}

// A clock that moves only when told, and counts how often the watchdog's
// thread looked at it (the server's thread's looks aside).
class TestClock final : public Clock {
  public:
    MonotonicTime monotonicNow() const override {
        if (std::this_thread::get_id() != serverThread_.load())
            looks_.fetch_add(1);
        return MonotonicTime(Duration(now_.load()));
    }
    Date wallNow() const override { return {}; }

    void advance(Duration by) { now_.fetch_add(by.count()); }
    void serverRunsOn(std::thread::id thread) { serverThread_.store(thread); }
    // Waits until the watchdog has looked at the time, and decided on what
    // it saw, at least once since the call, or until `instead` holds.
    bool lookedAgain(const std::function<bool()>& instead = [] { return false; }) {
        const long from = looks_.load();
        return soon([&] { return looks_.load() >= from + 5 || instead(); });
    }
    // Moves on by `total` in steps of `step`, each one looked at.
    bool passInSteps(Duration total, Duration step) {
        for (Duration passed{0}; passed < total; passed += step) {
            advance(step);
            if (!lookedAgain())
                return false;
        }
        return true;
    }

  private:
    std::atomic<Duration::rep> now_{1};
    mutable std::atomic<long> looks_{0};
    std::atomic<std::thread::id> serverThread_{};
};

// The X server as the watchdog's connection meets it: answering, or
// paused until resumed, also as the hand-back reaches it.
struct TestServerState {
    std::mutex mutex;
    std::condition_variable resumed;
    bool paused = false;
    // The server pauses as the hand-back's requests reach it.
    bool pausesAtHandBack = false;
    int handBacksAsked = 0;
    std::shared_ptr<TestClock> clock;
    // The order of the hand-back and the end; shared with a server's
    // thread that may outlive the watchdog.
    std::atomic<int> steps{0};
    std::atomic<int> handedBackAt{0};
    // Round trips and hand-backs the server's thread began.
    std::atomic<int> calls{0};

    void pause() {
        std::lock_guard lock(mutex);
        paused = true;
    }
    void resume() {
        {
            std::lock_guard lock(mutex);
            paused = false;
        }
        resumed.notify_all();
    }
    int asked() {
        std::lock_guard lock(mutex);
        return handBacksAsked;
    }
};

class TestServer final : public QuitWatchdog::Server {
  public:
    explicit TestServer(std::shared_ptr<TestServerState> state) : state_(std::move(state)) {}

    void answer() override { waitWhilePaused(); }
    bool handBack() override {
        {
            std::lock_guard lock(state_->mutex);
            ++state_->handBacksAsked;
            state_->paused = state_->paused || state_->pausesAtHandBack;
        }
        waitWhilePaused();
        state_->handedBackAt.store(++state_->steps);
        return true;
    }

  private:
    void waitWhilePaused() {
        state_->clock->serverRunsOn(std::this_thread::get_id());
        state_->calls.fetch_add(1);
        std::unique_lock lock(state_->mutex);
        state_->resumed.wait(lock, [this] { return !state_->paused; });
    }

    std::shared_ptr<TestServerState> state_;
};

class QuitWatchdogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(ends_), 0);
        server_->clock = clock_;
    }
    void TearDown() override {
        // A round trip left waiting on the paused server ends with it.
        server_->resume();
        watchdog_.reset();
        ::close(ends_[0]);
        ::close(ends_[1]);
    }

    void watch(QuitWatchdog::Bounds bounds) {
        bounds.step = 1ms;
        const int pending = ends_[0];
        watchdog_ = std::make_unique<QuitWatchdog>(
            QuitWatchdog::Signals{pending,
                                  [pending] {
                                      unsigned char numbers[64];
                                      [[maybe_unused]] const auto read =
                                          ::read(pending, numbers, sizeof numbers);
                                  }},
            std::make_unique<TestServer>(server_),
            [this](const QuitWatchdog::Ending& ending) {
                ending_ = ending;
                endedAt_.store(++server_->steps);
                ended_.set_value();
            },
            bounds, clock_);
    }
    void signal() {
        const auto number = static_cast<unsigned char>(SIGTERM);
        ASSERT_EQ(::write(ends_[1], &number, 1), 1);
    }
    // The watchdog read the signal: what it does next does not wait.
    bool signalRead() {
        return soon([this] {
            int unread = 0;
            return ::ioctl(ends_[0], FIONREAD, &unread) == 0 && unread == 0;
        });
    }
    bool endedWithin(std::chrono::milliseconds wait) {
        return endedFuture_.wait_for(wait) == std::future_status::ready;
    }
    bool ended() { return endedWithin(0ms); }
    // Moves the clock on in steps of 100 ms, each looked at, until the
    // watchdog ends: how far it moved by then (none within `limit`).
    std::optional<Duration> passUntilEnded(Duration limit) {
        for (Duration passed{0}; passed < limit;) {
            if (ended())
                return passed;
            clock_->advance(100ms);
            passed += 100ms;
            if (!clock_->lookedAgain([this] { return ended(); }))
                return std::nullopt;
        }
        return ended() ? std::optional(limit) : std::nullopt;
    }

    int ends_[2] = {-1, -1};
    std::shared_ptr<TestClock> clock_ = std::make_shared<TestClock>();
    std::shared_ptr<TestServerState> server_ = std::make_shared<TestServerState>();
    std::atomic<int> endedAt_{0};
    QuitWatchdog::Ending ending_;
    std::promise<void> ended_;
    std::future<void> endedFuture_ = ended_.get_future();
    std::unique_ptr<QuitWatchdog> watchdog_;
};

TEST_F(QuitWatchdogTest, AQuitTheEventLoopNeverTakesHandsTheOutputsBackThenEnds) {
    watch({.answer = 0ms, .end = 1h});
    watchdog_->listening();
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(server_->handedBackAt.load(), 1);
    EXPECT_EQ(endedAt_.load(), 2);
    EXPECT_EQ(ending_,
              (QuitWatchdog::Ending{.quitTaken = false, .handedBack = true, .changesLost = false}));
}

TEST_F(QuitWatchdogTest, BeforeTheEventLoopRunsTheStartHasTheEndsBound) {
    watch({.answer = 1h, .end = 0ms});
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(server_->handedBackAt.load(), 1);
}

TEST_F(QuitWatchdogTest, AQuitTheEventLoopTookEndsByItsOwnRoadUntilItsBound) {
    watch({.answer = 0ms, .end = 1h});
    watchdog_->listening();
    watchdog_->answered();
    signal();
    ASSERT_TRUE(signalRead());
    // Nothing comes while the program ends by itself; ended, it stops the
    // watchdog.
    EXPECT_TRUE(clock_->lookedAgain());
    EXPECT_FALSE(ended());
    watchdog_.reset();
    EXPECT_EQ(server_->steps.load(), 0);
}

TEST_F(QuitWatchdogTest, ATakenQuitThatDoesNotEndWithinItsBoundIsEndedAllTheSame) {
    watch({.answer = 1h, .end = 0ms});
    watchdog_->listening();
    watchdog_->answered();
    signal();
    ASSERT_TRUE(endedWithin(10s));
    EXPECT_EQ(server_->handedBackAt.load(), 1);
    EXPECT_TRUE(ending_.quitTaken);
    EXPECT_EQ(unansweredQuitLine(ending_),
              "quorvane: 종료를 마치지 못해 화면 색만 되돌리고 종료합니다.\n");
}

TEST_F(QuitWatchdogTest, StoppedBeforeAnyQuitSignalItDoesNothing) {
    watch({.answer = 0ms, .end = 0ms});
    watchdog_.reset();
    signal();
    EXPECT_EQ(server_->steps.load(), 0);
}

// Stopped (job control, a debugger) the program finds its clock jumped when
// it runs again: that time is no time the window thread failed to answer.
TEST_F(QuitWatchdogTest, TimeTheProgramSpentStoppedIsNotCounted) {
    watch({.answer = 2s, .end = 1h});
    watchdog_->listening();
    signal();
    ASSERT_TRUE(signalRead());
    ASSERT_TRUE(clock_->passInSteps(1s, 100ms));
    clock_->advance(25s);
    ASSERT_TRUE(clock_->lookedAgain());
    EXPECT_FALSE(ended());
    EXPECT_EQ(server_->asked(), 0);
    // Running again, the window thread has what was left of its bound.
    const auto passed = passUntilEnded(1h);
    ASSERT_TRUE(passed.has_value());
    EXPECT_GE(*passed, 1s);
    EXPECT_LE(*passed, 1200ms);
}

// A paused X server keeps the window thread waiting too: while it answers
// no round trip, no time counts; once it answers, the bound runs on.
TEST_F(QuitWatchdogTest, TimeTheServerDoesNotAnswerIsNotCounted) {
    watch({.answer = 2s, .end = 1h, .serverAnswer = 500ms});
    watchdog_->listening();
    server_->pause();
    signal();
    ASSERT_TRUE(signalRead());
    // The round trip's thread starts as the quit is heard: the clock moves
    // once it waits on the server.
    ASSERT_TRUE(soon([this] { return server_->calls.load() > 0; }));
    ASSERT_TRUE(clock_->passInSteps(30s, 500ms));
    EXPECT_FALSE(ended());
    EXPECT_EQ(server_->asked(), 0);
    server_->resume();
    const auto passed = passUntilEnded(1h);
    ASSERT_TRUE(passed.has_value());
    // What counted before the round trip was found unanswered comes off.
    EXPECT_GE(*passed, 1400ms);
    EXPECT_TRUE(ending_.handedBack);
}

// The hand-back's requests answered late (the server paused as the bound
// passed): the program ends only once they are, and a window thread that
// takes the quit meanwhile ends it by its own road.
TEST_F(QuitWatchdogTest, AHandBackWhoseRequestsAnswerLateIsWaitedFor) {
    for (const bool takenMeanwhile : {true, false}) {
        server_->pausesAtHandBack = true;
        watch({.answer = 2s, .end = 1h, .serverAnswer = 500ms});
        watchdog_->listening();
        signal();
        ASSERT_TRUE(signalRead());
        ASSERT_TRUE(clock_->passInSteps(2100ms, 100ms));
        ASSERT_EQ(server_->asked(), 1) << takenMeanwhile;
        ASSERT_TRUE(clock_->passInSteps(30s, 500ms));
        EXPECT_FALSE(ended()) << takenMeanwhile;
        if (takenMeanwhile)
            watchdog_->answered();
        server_->resume();
        ASSERT_TRUE(soon([&] { return server_->handedBackAt.load() == 1; })) << takenMeanwhile;
        if (!takenMeanwhile) {
            ASSERT_TRUE(endedWithin(10s));
            EXPECT_EQ(endedAt_.load(), 2);
            continue;
        }
        ASSERT_TRUE(clock_->passInSteps(1s, 100ms));
        EXPECT_FALSE(ended());
        watchdog_.reset();
        server_ = std::make_shared<TestServerState>();
        server_->clock = clock_;
    }
}

// What the end says: the outputs handed back or not, and changes lost only
// where the store still held some.
TEST_F(QuitWatchdogTest, TheEndSaysChangesAreLostOnlyWhenTheStoreHeldSome) {
    for (const bool unsaved : {false, true}) {
        watch({.answer = 0ms, .end = 1h});
        watchdog_->askForUnsavedChanges([unsaved] { return unsaved; });
        watchdog_->listening();
        signal();
        ASSERT_TRUE(endedWithin(10s));
        EXPECT_EQ(ending_.changesLost, unsaved);
        const auto line = unansweredQuitLine(ending_);
        EXPECT_EQ(line.find("사라집니다") != std::string::npos, unsaved) << line;
        EXPECT_NE(line.find("화면 색만 되돌리고 종료합니다."), std::string::npos) << line;
        watchdog_.reset();
        ended_ = std::promise<void>();
        endedFuture_ = ended_.get_future();
    }
    EXPECT_EQ(unansweredQuitLine({.quitTaken = false, .handedBack = false, .changesLost = false}),
              "quorvane: 종료 신호에 응답하지 못해 화면 색을 되돌리지 못한 채 종료합니다.\n");
}

}  // namespace
}  // namespace quorvane::testing
