#include "app/shell/quit_watchdog.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>

#include "app/shell/running_time.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/system_clock.hpp"
#include "platform/linux/x_connection.hpp"

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

class XQuitServer final : public QuitWatchdog::Server {
  public:
    explicit XQuitServer(std::string displayName) : displayName_(std::move(displayName)) {}

    void answer() override {
        if (!opened_) {
            opened_ = true;
            connection_ = XConnection::open(displayName_);
        }
        if (connection_ && !connection_->lost())
            connection_->sync();
    }

    bool handBack() override {
        auto connection = std::make_shared<SharedXConnection>(
            displayName_, SharedXConnection::AfterLoss::stayLost);
        GammaController(GammaController::kStandardTableSize, connection)
            .restoreSystemColorSettings();
        // Still held after the last write's answer: the server took them.
        return connection->lease().has_value();
    }

  private:
    std::string displayName_;
    bool opened_ = false;
    std::optional<XConnection> connection_;
};

}  // namespace

// Round trips to the server, one a step, on a thread of its own, then the
// hand-back once asked. A call the server does not answer holds that thread
// for as long; the watchdog learns of it by how long the call has waited,
// and the program ends with that thread still waiting.
class QuitWatchdog::ServerLink {
  public:
    ServerLink(std::unique_ptr<Server> server, std::shared_ptr<const Clock> clock, Duration step,
               std::function<void()> wake)
        : state_(std::make_shared<State>()) {
        state_->server = std::move(server);
        state_->clock = std::move(clock);
        state_->step = step;
        state_->wake = std::move(wake);
    }
    ~ServerLink() {
        if (!thread_.joinable())
            return;
        bool calling = false;
        {
            std::lock_guard lock(state_->mutex);
            state_->stopped = true;
            calling = state_->callingSince.has_value();
        }
        state_->changed.notify_all();
        // A call that waits on the server ends by itself, or with the
        // program; the state is the thread's too.
        if (calling)
            thread_.detach();
        else
            thread_.join();
    }
    ServerLink(const ServerLink&) = delete;
    ServerLink& operator=(const ServerLink&) = delete;

    void start() {
        thread_ = std::thread([state = state_] { run(*state); });
    }

    // No call has waited on the server for `bound` or longer.
    bool answering(Duration bound) const {
        std::lock_guard lock(state_->mutex);
        return !state_->callingSince ||
               state_->clock->monotonicNow() - *state_->callingSince < bound;
    }
    void askHandBack() {
        {
            std::lock_guard lock(state_->mutex);
            state_->handBackAsked = true;
        }
        state_->changed.notify_all();
    }
    // Whether the server took the outputs back; none before it answered.
    std::optional<bool> handedBack() const {
        std::lock_guard lock(state_->mutex);
        return state_->handedBack;
    }

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        std::unique_ptr<Server> server;
        std::shared_ptr<const Clock> clock;
        Duration step{0};
        std::function<void()> wake;
        std::optional<MonotonicTime> callingSince;
        bool handBackAsked = false;
        std::optional<bool> handedBack;
        bool stopped = false;
    };

    static void run(State& state) {
        std::unique_lock lock(state.mutex);
        while (!state.stopped) {
            const bool handing = state.handBackAsked;
            state.callingSince = state.clock->monotonicNow();
            lock.unlock();
            bool took = false;
            if (handing)
                took = state.server->handBack();
            else
                state.server->answer();
            lock.lock();
            state.callingSince.reset();
            if (handing) {
                state.handedBack = took;
                if (!state.stopped)
                    state.wake();
                return;
            }
            state.changed.wait_for(lock, state.step,
                                   [&state] { return state.stopped || state.handBackAsked; });
        }
    }

    std::shared_ptr<State> state_;
    std::thread thread_;
};

QuitWatchdog::QuitWatchdog(Signals quitSignals, std::unique_ptr<Server> server,
                           std::function<void(const Ending&)> end, Bounds bounds,
                           std::shared_ptr<const Clock> clock)
    : signals_(std::move(quitSignals)),
      newsEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      end_(std::move(end)),
      bounds_(bounds),
      clock_(std::move(clock)),
      server_(std::make_unique<ServerLink>(std::move(server), clock_, bounds_.step,
                                           [this] { wake(); })) {
    if (signals_.pending >= 0 && newsEvent_ >= 0)
        thread_ = std::thread([this] { watch(); });
}

QuitWatchdog::QuitWatchdog(Signals quitSignals, std::unique_ptr<Server> server,
                           std::function<void(const Ending&)> end)
    : QuitWatchdog(std::move(quitSignals), std::move(server), std::move(end), Bounds{},
                   std::make_shared<SystemClock>()) {}

QuitWatchdog::~QuitWatchdog() {
    stopped_.store(true);
    if (thread_.joinable()) {
        wake();
        thread_.join();
    }
    server_.reset();
    if (newsEvent_ >= 0)
        ::close(newsEvent_);
}

void QuitWatchdog::askForUnsavedChanges(std::function<bool()> unsaved) {
    std::lock_guard lock(unsavedMutex_);
    unsaved_ = std::move(unsaved);
}

void QuitWatchdog::tell(std::atomic<bool>& told) {
    told.store(true);
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
    server_->start();
    RunningTime time(*clock_, bounds_.longestStep);
    while (!stopped_.load()) {
        time.step(server_->answering(bounds_.serverAnswer));
        const auto counted = std::chrono::duration_cast<Duration>(time.counted());
        noteNews(counted);
        if (counted >= deadline()) {
            server_->askHandBack();
            if (const auto handedBack = server_->handedBack()) {
                end_(ending(*handedBack));
                return;
            }
        }
        pollfd entry{newsEvent_, POLLIN, 0};
        if (readable(&entry, 1, static_cast<int>(bounds_.step.count())))
            takeNews();
    }
}

bool QuitWatchdog::heardQuit() const {
    pollfd entries[] = {{signals_.pending, POLLIN, 0}, {newsEvent_, POLLIN, 0}};
    for (;;) {
        if (!readable(entries, 2, -1) || stopped_.load())
            return false;
        if (entries[0].revents != 0)
            break;
        takeNews();
    }
    // Later signals ask for the same quit: they wait, blocked, and are
    // never taken.
    signals_.take();
    return true;
}

void QuitWatchdog::noteNews(Duration counted) {
    if (!listenedAt_ && listened_.load())
        listenedAt_ = counted;
    if (!answeredAt_ && answered_.load())
        answeredAt_ = counted;
}

QuitWatchdog::Duration QuitWatchdog::deadline() const {
    if (answeredAt_)
        return *answeredAt_ + bounds_.end;
    if (listenedAt_)
        return *listenedAt_ + bounds_.answer;
    return bounds_.end;
}

QuitWatchdog::Ending QuitWatchdog::ending(bool handedBack) {
    std::lock_guard lock(unsavedMutex_);
    return {answeredAt_.has_value(), handedBack, unsaved_ && unsaved_()};
}

std::unique_ptr<QuitWatchdog::Server> quitWatchdogServer(std::string displayName) {
    return std::make_unique<XQuitServer>(std::move(displayName));
}

std::string unansweredQuitLine(const QuitWatchdog::Ending& ending) {
    std::string line = "quorvane: ";
    line += ending.quitTaken ? "종료를 마치지 못해 " : "종료 신호에 응답하지 못해 ";
    line += ending.handedBack ? "화면 색만 되돌리고 종료합니다."
                              : "화면 색을 되돌리지 못한 채 종료합니다.";
    if (ending.changesLost)
        line += " 아직 저장하지 못한 변경은 사라집니다.";
    return line + "\n";
}

}  // namespace quorvane
