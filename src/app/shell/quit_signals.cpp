#include "app/shell/quit_signals.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace quorvane {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe between the handler and the event loop, open for the process's
// life: a handler may run until the last instruction. The one state a
// signal handler can reach.
std::atomic<int> pipeReadEnd{-1};
std::atomic<int> pipeWriteEnd{-1};

extern "C" void forwardQuitSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full pipe holds a quit already; the event loop reads it.
    [[maybe_unused]] const auto written =
        ::write(pipeWriteEnd.load(std::memory_order_relaxed), &byte, 1);
    errno = saved;
}

}  // namespace

void catchQuitSignals() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    pipeReadEnd.store(ends[0]);
    pipeWriteEnd.store(ends[1]);
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
