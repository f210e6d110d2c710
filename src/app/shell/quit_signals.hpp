#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace quorvane {

// SIGTERM, SIGINT and SIGHUP (the end of a session or terminal) as a Qt
// signal, so a signalled program quits through the same road as the quit
// command: outputs back to their restore ramps, pending saves written.
//
// The three signals are blocked in every thread and read from a signalfd, so
// no handler runs at an arbitrary point. blockQuitSignals() must run first in
// main(), before any thread starts, so that every thread inherits the mask.
void blockQuitSignals();

class QuitSignals : public QObject {
    Q_OBJECT

  public:
    // Needs the Qt application object; blockQuitSignals() must have run.
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
