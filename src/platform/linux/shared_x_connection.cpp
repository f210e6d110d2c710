#include "platform/linux/shared_x_connection.hpp"

#include <X11/extensions/Xrandr.h>
#include <sys/socket.h>

#include <algorithm>

#include "platform/linux/randr_screen.hpp"

namespace quorvane {

void SharedXConnection::OutputCache::clear() {
    activeOutputs.reset();
    rampSizes.clear();
}

const RandrOutput* SharedXConnection::OutputCache::find(XResourceID id) const {
    if (!activeOutputs) {
        return nullptr;
    }
    auto found = std::find_if(activeOutputs->begin(), activeOutputs->end(),
                              [id](const RandrOutput& output) { return output.id == id; });
    return found == activeOutputs->end() ? nullptr : &*found;
}

SharedXConnection::Lease::~Lease() {
    if (owner_ != nullptr && lock_.owns_lock() && owner_->connection_) {
        owner_->dispatchEvents(QueuedAlready);
    }
}

const std::vector<RandrOutput>& SharedXConnection::Lease::activeOutputs() const {
    auto& cached = owner_->cache_.activeOutputs;
    if (!cached) {
        auto screen = RandrScreen::read(connection(), RandrScreen::Probe::cached);
        cached = screen ? screen->activeOutputs(false) : std::vector<RandrOutput>{};
    }
    return *cached;
}

const RandrOutput* SharedXConnection::Lease::activeOutput(XResourceID id) const {
    activeOutputs();
    return owner_->cache_.find(id);
}

bool SharedXConnection::Lease::takeScreenChanges() const {
    return owner_->dispatchEvents(QueuedAfterReading);
}

SharedXConnection::SharedXConnection(std::string displayName, AfterLoss afterLoss)
    : displayName_(std::move(displayName)), afterLoss_(afterLoss) {}

SharedXConnection::~SharedXConnection() = default;

std::optional<SharedXConnection::Lease> SharedXConnection::lease() {
    std::unique_lock lock(mutex_);
    // A connection whose server went away is only good for closing; the
    // server is tried afresh instead.
    if (connection_ && connection_->lost()) {
        dropConnection();
    }
    if (lostOnce_ && afterLoss_ == AfterLoss::stayLost) {
        return std::nullopt;
    }
    if (!connection_ && !open()) {
        return std::nullopt;
    }
    dispatchEvents(QueuedAfterReading);
    if (connection_->lost()) {
        dropConnection();
        return std::nullopt;
    }
    return Lease(*this, std::move(lock));
}

bool SharedXConnection::readEvents(std::uint64_t generation) {
    std::lock_guard lock(mutex_);
    if (!connection_ || generation_ != generation)
        return false;
    if (!connection_->lost())
        dispatchEvents(QueuedAfterReading);
    if (connection_->lost()) {
        dropConnection();
        return false;
    }
    return true;
}

void SharedXConnection::setKeyEventHandler(KeyEventHandler handler) {
    std::lock_guard lock(mutex_);
    keyEventHandler_ = std::move(handler);
}

bool SharedXConnection::lostForGood() {
    std::lock_guard lock(mutex_);
    if (connection_ && connection_->lost())
        dropConnection();
    return lostOnce_ && afterLoss_ == AfterLoss::stayLost;
}

void SharedXConnection::dropConnection() {
    // Watchers poll duplicates of the descriptor, which keep the socket open
    // after the connection closes its own; shutting it down wakes them even
    // when the loss was not a hang-up, and lets the server let go of us.
    if (connection_)
        ::shutdown(ConnectionNumber(connection_->display()), SHUT_RDWR);
    connection_.reset();
    cache_.clear();
    lostOnce_ = true;
}

bool SharedXConnection::open() {
    connection_ = XConnection::open(displayName_);
    if (!connection_) {
        return false;
    }
    ++generation_;
    int eventBase = 0;
    int errorBase = 0;
    if (connection_->queryRandr(eventBase, errorBase)) {
        randrEventBase_ = eventBase;
        randrErrorBase_ = errorBase;
        connection_->ask(false, [this](Display* display) {
            XRRSelectInput(display, connection_->root(),
                           RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask |
                               RROutputChangeNotifyMask | RROutputPropertyNotifyMask);
            return true;
        });
    }
    cache_.clear();
    return true;
}

bool SharedXConnection::dispatchEvents(int queuedMode) {
    Display* display = connection_->display();
    bool screenChanged = false;
    while (XEventsQueued(display, queuedMode) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress || event.type == KeyRelease) {
            if (keyEventHandler_) {
                keyEventHandler_(event.xkey);
            }
            continue;
        }
        if (randrEventBase_ >= 0 && (event.type == randrEventBase_ + RRScreenChangeNotify ||
                                     event.type == randrEventBase_ + RRNotify)) {
            XRRUpdateConfiguration(&event);
            screenChanged = true;
        }
    }
    if (screenChanged) {
        cache_.clear();
    }
    return screenChanged;
}

}  // namespace quorvane
