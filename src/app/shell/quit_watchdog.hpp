#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace quorvane {

// Ends the program when a quit signal is not acted on: a main thread stuck
// in a call that never returns (a read that blocks for good) never runs the
// event loop that reads the quit, and the outputs would keep their
// correction until SIGKILL.
//
// A thread of its own reads the quit signals' second pipe. Once the event
// loop runs (listening()), it has `answer` from the signal, or from its
// start when the signal came before, to take the quit (answered()); before
// it runs, the start has `end` from the signal. Once it took the quit, the
// program has `end` to end (the saves written, the threads stopped), which
// destroys the watchdog. When a bound passes, the outputs are handed back
// from a thread of their own (`handBack`, over a connection of its own) and
// the program ends through `end` with a status that says it did not end
// well, at most `handBack` later even when the hand-back hangs (an X server
// that no longer answers). Nothing is saved then: the store belongs to the
// stuck thread, and what it held unsaved is lost, as at SIGKILL.
class QuitWatchdog {
  public:
    using Duration = std::chrono::milliseconds;
    struct Bounds {
        Duration answer = std::chrono::seconds(2);
        Duration end = std::chrono::seconds(20);
        Duration handBack = std::chrono::seconds(2);
    };

    // The status of a program ended by the watchdog.
    static constexpr int kUnansweredQuitStatus = 1;

    // Reads `signalPipe` (quitSignalWatch()); `handBack` runs on a thread
    // of its own, `end` on the watchdog's and does not return in the
    // program (std::_Exit). A pipe of -1 watches nothing.
    QuitWatchdog(int signalPipe, std::function<void()> handBack, std::function<void()> end,
                 Bounds bounds);
    QuitWatchdog(int signalPipe, std::function<void()> handBack, std::function<void()> end)
        : QuitWatchdog(signalPipe, std::move(handBack), std::move(end), Bounds{}) {}
    // Stops watching: the program is ending by itself.
    ~QuitWatchdog();
    QuitWatchdog(const QuitWatchdog&) = delete;
    QuitWatchdog& operator=(const QuitWatchdog&) = delete;

    // The event loop runs and reads the quit signals.
    void listening() { tell(listenedAt_); }
    // The event loop took the quit: the program now ends by its own road.
    void answered() { tell(answeredAt_); }

  private:
    using Clock = std::chrono::steady_clock;
    // A time told by the main thread, in the clock's ticks; 0 until told.
    using ToldTime = std::atomic<Clock::rep>;

    void tell(ToldTime& time);
    void wake() const;
    void takeNews() const;
    void watch();
    // Waits for the first quit signal; false when stopped first.
    bool heardQuit() const;
    Clock::time_point deadline(Clock::time_point heard) const;
    // Waits for news from the main thread until `deadline`.
    void waitForNews(Clock::time_point deadline) const;
    void handBackWithinBound() const;

    int signalPipe_;
    int newsEvent_ = -1;
    std::function<void()> handBack_;
    std::function<void()> end_;
    Bounds bounds_;
    ToldTime listenedAt_{0};
    ToldTime answeredAt_{0};
    std::atomic<bool> stopped_{false};
    std::thread thread_;
};

// The outputs back to their calibration, over a connection of its own to
// `displayName` ("" means $DISPLAY), and a line on standard error that says
// why the program ends; a server that is gone changes nothing.
void handOutputsBackUnanswered(const std::string& displayName);

}  // namespace quorvane
