#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Takes the quit signals, and ends the program when its window thread does
// not act on one: a window thread stuck in a call that never returns (a
// file list reading a file that blocks for good) never runs the event loop
// that reads the quit, and the outputs would keep their correction until
// SIGKILL.
//
// A thread of its own waits for the quit signals (QuitSignalIntake) and
// hands each to the event loop. Once the event loop runs (listening()), it
// has `answer` to take the quit (answered()); before it runs, the start has
// `end`. Once it took the quit, the program has `end` to end (the saves
// written, the threads stopped), which destroys the watchdog.
//
// Only time in which the window thread could have answered counts: time the
// program spent stopped (job control, a debugger) does not, nor time in
// which the X server does not answer a round trip on the watchdog's own
// connection within `serverAnswer` (a server that is paused keeps the window
// thread waiting too, and has nothing to hand back to).
//
// When a bound passes, the outputs are handed back from the thread of that
// connection, and the program ends through `end` with a status that says it
// did not end well once the server has answered for them: a server that
// does not answer is waited for, as the window thread waits for it. A window
// thread that takes the quit meanwhile ends the program by its own road.
// Nothing is saved by the watchdog: the store belongs to the stuck thread,
// and what it held unsaved is lost, as at SIGKILL.
class QuitWatchdog {
  public:
    using Duration = std::chrono::milliseconds;
    struct Bounds {
        Duration answer = std::chrono::seconds(2);
        Duration end = std::chrono::seconds(20);
        // How often the time is looked at while a quit is under way.
        Duration step = std::chrono::milliseconds(100);
        // A look held up longer than this: the program was stopped.
        Duration longestStep = std::chrono::seconds(1);
        // A round trip unanswered for this long: the server does not answer.
        Duration serverAnswer = std::chrono::milliseconds(500);
    };

    // The status of a program ended by the watchdog.
    static constexpr int kUnansweredQuitStatus = 1;

    // Where the quit signals come from: readable while one waits, and what
    // takes the waiting ones (handing them to the event loop).
    struct Signals {
        int pending = -1;
        std::function<void()> take;
    };

    // The watchdog's own road to the X server, used from one thread of its
    // own: a connection of its own, opened at the first call.
    class Server {
      public:
        virtual ~Server() = default;
        // One round trip: returns once the server answered it, at once where
        // there is no server.
        virtual void answer() = 0;
        // The outputs back to their calibration; returns once the server
        // answered for them: true when it took them.
        virtual bool handBack() = 0;
    };

    // How the watchdog ends the program.
    struct Ending {
        // The window thread took the quit, and did not end in time.
        bool quitTaken = false;
        bool handedBack = false;
        // The store still held changes it had not saved.
        bool changesLost = false;

        bool operator==(const Ending&) const = default;
    };

    // `end` runs on the watchdog's thread and does not return in the program
    // (std::_Exit). Signals without a pending descriptor watch nothing.
    QuitWatchdog(Signals quitSignals, std::unique_ptr<Server> server,
                 std::function<void(const Ending&)> end, Bounds bounds,
                 std::shared_ptr<const Clock> clock);
    QuitWatchdog(Signals quitSignals, std::unique_ptr<Server> server,
                 std::function<void(const Ending&)> end);
    // Stops watching: the program is ending by itself.
    ~QuitWatchdog();
    QuitWatchdog(const QuitWatchdog&) = delete;
    QuitWatchdog& operator=(const QuitWatchdog&) = delete;

    // Whether a quit signal is waited for; false when the watchdog could not
    // start (the signals must then be left to their default action).
    bool watching() const { return thread_.joinable(); }
    // The event loop runs and reads the quit signals.
    void listening() { tell(listened_); }
    // The event loop took the quit: the program now ends by its own road.
    void answered() { tell(answered_); }
    // Whether the store holds changes not saved yet, asked on the watchdog's
    // thread as it ends the program: it must not wait. Empty (as at the
    // start) means none; the program's own end tells what it could not save.
    void askForUnsavedChanges(std::function<bool()> unsaved);

  private:
    class ServerLink;

    void tell(std::atomic<bool>& told);
    void wake() const;
    void takeNews() const;
    void watch();
    // Waits for the first quit signal; false when stopped first.
    bool heardQuit() const;
    // The counted time at which the program must have ended.
    Duration deadline() const;
    void noteNews(Duration counted);
    Ending ending(bool handedBack);

    Signals signals_;
    int newsEvent_ = -1;
    std::function<void(const Ending&)> end_;
    Bounds bounds_;
    std::shared_ptr<const Clock> clock_;
    std::unique_ptr<ServerLink> server_;
    std::atomic<bool> listened_{false};
    std::atomic<bool> answered_{false};
    // The counted times at which the watchdog's thread saw them told.
    std::optional<Duration> listenedAt_;
    std::optional<Duration> answeredAt_;
    std::mutex unsavedMutex_;
    std::function<bool()> unsaved_;
    std::atomic<bool> stopped_{false};
    std::thread thread_;
};

// The watchdog's road to the X server named `displayName` ("" means
// $DISPLAY); a server that is gone answers at once and takes nothing.
std::unique_ptr<QuitWatchdog::Server> quitWatchdogServer(std::string displayName);

// What the program says on standard error as the watchdog ends it.
std::string unansweredQuitLine(const QuitWatchdog::Ending& ending);

}  // namespace quorvane
