#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quorvane {

// SIGTERM, SIGINT and SIGHUP (the end of a session or terminal) as a Qt
// signal, so a signalled program quits through the same road as the quit
// command: outputs back to their restore ramps, pending saves written.
//
// A handler writes the signal's number to a pipe the event loop reads, so
// nothing but that one write runs at an arbitrary point. The signals are
// never blocked: a blocked mask outlives exec, and every process the program
// starts (the session bus libdbus starts for it, whatever Qt starts) would
// ignore them for good, however it was started; a handler is reset to the
// default action by exec. catchQuitSignals() must run first in main(): a
// signal that comes before the Qt side reads the pipe waits in it.
void catchQuitSignals();

// A second pipe the handler writes each quit signal's number to, for a
// watchdog that does not depend on the event loop (see QuitWatchdog); -1
// before catchQuitSignals() or when it could not be opened.
int quitSignalWatch();

class QuitSignals : public QObject {
    Q_OBJECT

  public:
    // Needs the Qt application object; catchQuitSignals() must have run.
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

  signals:
    void quitRequested(int signalNumber);

  private:
    void readPending();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorvane
