#include "app/shell/quit_watchdog.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <future>

#include "platform/linux/gamma_controller.hpp"

namespace quorvane {

namespace {

// Waits for one of `entries` to be readable for at most `timeout` (-1 for
// ever), across signals that interrupt the wait; false when none was.
bool readable(pollfd* entries, nfds_t count, int timeout) {
    for (;;) {
        const int ready = ::poll(entries, count, timeout);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

}  // namespace

QuitWatchdog::QuitWatchdog(int signalPipe, std::function<void()> handBack,
                           std::function<void()> end, Bounds bounds)
    : signalPipe_(signalPipe),
      newsEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      handBack_(std::move(handBack)),
      end_(std::move(end)),
      bounds_(bounds) {
    if (signalPipe_ >= 0 && newsEvent_ >= 0)
        thread_ = std::thread([this] { watch(); });
}

QuitWatchdog::~QuitWatchdog() {
    stopped_.store(true);
    if (thread_.joinable()) {
        wake();
        thread_.join();
    }
    if (newsEvent_ >= 0)
        ::close(newsEvent_);
}

void QuitWatchdog::tell(ToldTime& time) {
    Clock::rep unset = 0;
    time.compare_exchange_strong(unset,
                                 std::max<Clock::rep>(Clock::now().time_since_epoch().count(), 1));
    wake();
}

void QuitWatchdog::wake() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(newsEvent_, &one, sizeof one);
}

void QuitWatchdog::takeNews() const {
    std::uint64_t news = 0;
    [[maybe_unused]] const auto read = ::read(newsEvent_, &news, sizeof news);
}

void QuitWatchdog::watch() {
    if (!heardQuit())
        return;
    const auto heard = Clock::now();
    while (!stopped_.load()) {
        const auto until = deadline(heard);
        if (Clock::now() >= until) {
            handBackWithinBound();
            end_();
            return;
        }
        waitForNews(until);
    }
}

bool QuitWatchdog::heardQuit() const {
    pollfd entries[] = {{signalPipe_, POLLIN, 0}, {newsEvent_, POLLIN, 0}};
    for (;;) {
        if (!readable(entries, 2, -1) || stopped_.load())
            return false;
        if (entries[0].revents != 0)
            break;
        takeNews();
    }
    // Later signals ask for the same quit: what the pipe holds is read once,
    // and never again.
    unsigned char numbers[64];
    [[maybe_unused]] const auto read = ::read(signalPipe_, numbers, sizeof numbers);
    return true;
}

QuitWatchdog::Clock::time_point QuitWatchdog::deadline(Clock::time_point heard) const {
    if (const auto answered = answeredAt_.load())
        return Clock::time_point(Clock::duration(answered)) + bounds_.end;
    if (const auto listened = listenedAt_.load())
        return std::max(heard, Clock::time_point(Clock::duration(listened))) + bounds_.answer;
    return heard + bounds_.end;
}

void QuitWatchdog::waitForNews(Clock::time_point deadline) const {
    pollfd entry{newsEvent_, POLLIN, 0};
    const auto left = std::chrono::ceil<Duration>(deadline - Clock::now());
    if (readable(&entry, 1, static_cast<int>(std::max<Duration::rep>(left.count(), 0))))
        takeNews();
}

// On a thread of its own, so a server that takes the connection and never
// answers holds the end back by `handBack` at most; the program ends with
// that thread still waiting.
void QuitWatchdog::handBackWithinBound() const {
    std::promise<void> done;
    auto handedBack = done.get_future();
    std::thread handing([handBack = handBack_, done = std::move(done)]() mutable {
        handBack();
        done.set_value();
    });
    if (handedBack.wait_for(bounds_.handBack) == std::future_status::ready)
        handing.join();
    else
        handing.detach();
}

void handOutputsBackUnanswered(const std::string& displayName) {
    GammaController(GammaController::kStandardTableSize, displayName).restoreSystemColorSettings();
    // Written at once, without the stream's lock the stuck thread may hold.
    static constexpr char kLine[] =
        "quorvane: 종료 신호에 응답하지 못해 화면 색만 되돌리고 종료합니다. 아직 저장하지 못한 "
        "변경은 사라집니다.\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, kLine, sizeof kLine - 1);
}

}  // namespace quorvane
