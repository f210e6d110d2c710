#include "app/shell/quit_signals.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace quorvane {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipes from the handler to the event loop and to the watchdog, open
// for the process's life: a handler may run until the last instruction. The
// one state a signal handler can reach.
std::atomic<int> pipeReadEnd{-1};
std::atomic<int> pipeWriteEnd{-1};
std::atomic<int> watchReadEnd{-1};
std::atomic<int> watchWriteEnd{-1};

void writeSignalNumber(const std::atomic<int>& end, unsigned char byte) {
    // A full pipe holds a quit already; its reader reads it.
    [[maybe_unused]] const auto written = ::write(end.load(std::memory_order_relaxed), &byte, 1);
}

extern "C" void forwardQuitSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    writeSignalNumber(pipeWriteEnd, byte);
    writeSignalNumber(watchWriteEnd, byte);
    errno = saved;
}

bool openPipe(std::atomic<int>& readEnd, std::atomic<int>& writeEnd) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    readEnd.store(ends[0]);
    writeEnd.store(ends[1]);
    return true;
}

}  // namespace

void catchQuitSignals() {
    if (!openPipe(pipeReadEnd, pipeWriteEnd))
        return;
    // Without it the quit still reaches the event loop, unwatched.
    openPipe(watchReadEnd, watchWriteEnd);
    struct sigaction action {};
    action.sa_handler = forwardQuitSignal;
    sigemptyset(&action.sa_mask);
    // Other threads' calls go on where they were.
    action.sa_flags = SA_RESTART;
    sigset_t quit;
    sigemptyset(&quit);
    for (const int number : kQuitSignals) {
        ::sigaction(number, &action, nullptr);
        sigaddset(&quit, number);
    }
    // A program started with them blocked (by a parent that leaked its own
    // mask) would never hear them, nor would anything it starts.
    pthread_sigmask(SIG_UNBLOCK, &quit, nullptr);
}

int quitSignalWatch() {
    return watchReadEnd.load();
}

QuitSignals::QuitSignals(QObject* parent) : QObject(parent), fd_(pipeReadEnd.load()) {
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
