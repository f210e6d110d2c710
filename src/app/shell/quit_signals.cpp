#include "app/shell/quit_signals.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace quorvane {

namespace {

sigset_t quitSignalSet() {
    sigset_t quit;
    sigemptyset(&quit);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&quit, number);
    return quit;
}

// In a child of fork(), before it runs anything else: the mask it execs
// with is the one it keeps.
extern "C" void unblockInChild() {
    unblockQuitSignals();
}

void closeIfOpen(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace

void unblockQuitSignals() {
    const sigset_t quit = quitSignalSet();
    ::sigprocmask(SIG_UNBLOCK, &quit, nullptr);
}

QuitSignalIntake::QuitSignalIntake() {
    static const bool childrenUnblock = ::pthread_atfork(nullptr, nullptr, unblockInChild) == 0;
    const sigset_t quit = quitSignalSet();
    int ends[2];
    if (!childrenUnblock || ::pthread_sigmask(SIG_BLOCK, &quit, nullptr) != 0 ||
        ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        giveUp();
        return;
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    signals_ = ::signalfd(-1, &quit, SFD_CLOEXEC | SFD_NONBLOCK);
    if (signals_ < 0)
        giveUp();
}

QuitSignalIntake::~QuitSignalIntake() {
    closeIfOpen(signals_);
    closeIfOpen(readEnd_);
    closeIfOpen(writeEnd_);
}

void QuitSignalIntake::take() const {
    signalfd_siginfo taken{};
    while (::read(signals_, &taken, sizeof taken) == static_cast<ssize_t>(sizeof taken)) {
        const auto number = static_cast<unsigned char>(taken.ssi_signo);
        // A full pipe holds a quit already; its reader reads it.
        [[maybe_unused]] const auto written = ::write(writeEnd_, &number, 1);
    }
}

// The signalfd stays open: a thread may still wait on it, and its number
// must not come to name another file. Unblocked, a signal is no longer
// pending for it.
void QuitSignalIntake::giveUp() {
    unblockQuitSignals();
}

QuitSignals::QuitSignals(int eventLoopEnd, QObject* parent) : QObject(parent), fd_(eventLoopEnd) {
    if (fd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
}

QuitSignals::~QuitSignals() = default;

void QuitSignals::readPending() {
    unsigned char number = 0;
    while (::read(fd_, &number, 1) == 1)
        emit quitRequested(number);
}

}  // namespace quorvane
