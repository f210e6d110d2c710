#include "app/shell/quit_signals.hpp"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace quorvane {

namespace {

sigset_t quitSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void blockQuitSignals() {
    const sigset_t set = quitSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    const sigset_t set = quitSignalSet();
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
}

QuitSignals::~QuitSignals() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

void QuitSignals::readPending() {
    signalfd_siginfo info{};
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        emit quitRequested(static_cast<int>(info.ssi_signo));
}

}  // namespace quorvane
