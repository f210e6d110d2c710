#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quorvane {

// SIGTERM, SIGINT and SIGHUP (the end of a session or terminal) as a Qt
// signal, so a signalled program quits through the same road as the quit
// command: outputs back to their restore ramps, pending saves written.
//
// The kernel hands a signal sent to the process to any thread that does not
// block it, and runs nothing for it while that thread sleeps in a call the
// file system never answers (a folder on a hung FUSE or network mount typed
// into a file dialog): the quit would wait for the mount. So the signals are
// blocked in every thread and taken by one that never waits on the file
// system (the watchdog's, QuitWatchdog), through a signalfd; it writes each
// one's number to a pipe the event loop reads (QuitSignals).
//
// A blocked mask outlives exec: a process the program starts (the session
// bus libdbus starts where none is given, whatever Qt starts) would ignore
// them for good. Every child made by fork() unblocks them before it runs
// anything else, and the application's exec calls unblock them again, for
// a library that puts back the mask it had before it forked.
class QuitSignalIntake {
  public:
    // Blocks the quit signals in the calling thread: it must run first in
    // main(), before any thread is started, as every thread inherits the
    // mask of the one that starts it. A program started with them blocked
    // (a parent that leaked its own mask) takes them all the same.
    QuitSignalIntake();
    ~QuitSignalIntake();
    QuitSignalIntake(const QuitSignalIntake&) = delete;
    QuitSignalIntake& operator=(const QuitSignalIntake&) = delete;

    // Readable while a quit signal waits to be taken; -1 when none can be
    // taken (the signals then end the program by their default action).
    int pending() const { return signals_; }
    // Takes every quit signal waiting and writes each one's number to the
    // event loop's pipe; from one thread at a time.
    void take() const;
    // The pipe's end the event loop reads; -1 without one.
    int eventLoopEnd() const { return readEnd_; }
    // Nothing is to take them (the taking thread could not start, or this
    // launch only hands its request over): the calling thread unblocks them
    // again, and they take their default action.
    void giveUp();

  private:
    int signals_ = -1;
    int readEnd_ = -1;
    int writeEnd_ = -1;
};

// Unblocks the quit signals in the calling thread: for a child about to
// exec, which must not keep them blocked. Async-signal-safe.
void unblockQuitSignals();

// The quit signals the intake took, read from its pipe on the event loop.
class QuitSignals : public QObject {
    Q_OBJECT

  public:
    // Needs the Qt application object; a pipe end of -1 reads nothing.
    explicit QuitSignals(int eventLoopEnd, QObject* parent = nullptr);
    ~QuitSignals() override;

  signals:
    void quitRequested(int signalNumber);

  private:
    void readPending();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorvane
