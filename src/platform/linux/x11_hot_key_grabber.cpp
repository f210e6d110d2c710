#include "platform/linux/x11_hot_key_grabber.hpp"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/stored_key_code_keysyms.hpp"

namespace quorvane {

namespace {

unsigned modifierMask(const std::vector<HotKeyModifier>& modifiers) {
    unsigned mask = 0;
    for (HotKeyModifier modifier : modifiers) {
        switch (modifier) {
            case HotKeyModifier::control:
                mask |= ControlMask;
                break;
            case HotKeyModifier::option:
                mask |= Mod1Mask;
                break;
            case HotKeyModifier::command:
                mask |= Mod4Mask;
                break;
            case HotKeyModifier::shift:
                mask |= ShiftMask;
                break;
        }
    }
    return mask;
}

// The modifier bit that Num Lock sets on this keyboard (usually Mod2); 0
// when Num Lock is not a modifier.
unsigned findNumLockMask(Display* display) {
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr || numLock == 0) {
        if (map != nullptr)
            XFreeModifiermap(map);
        return 0;
    }
    unsigned mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            if (map->modifiermap[modifier * map->max_keypermod + k] == numLock) {
                mask = 1u << modifier;
                break;
            }
        }
    }
    XFreeModifiermap(map);
    return mask;
}

constexpr unsigned kModifierBits =
    ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

}  // namespace

std::unique_ptr<X11HotKeyGrabber> X11HotKeyGrabber::open(
    std::shared_ptr<SharedXConnection> connection, PressHandler onPress) {
    int xFd = -1;
    std::uint64_t generation = 0;
    {
        auto lease = connection->lease();
        if (!lease)
            return nullptr;
        generation = lease->generation();
        Display* display = lease->connection().display();
        // Auto-repeat then sends repeated presses without releases in
        // between, which tells a held chord from a new press.
        XkbSetDetectableAutoRepeat(display, True, nullptr);
        // The watcher waits on a duplicate of its own: the connection's
        // descriptor is closed on whichever thread meets the loss, and its
        // number is then handed to the next file the process opens, which
        // the watcher would wait on for ever. The duplicate still reports
        // the socket's hang-up.
        xFd = ::fcntl(ConnectionNumber(display), F_DUPFD_CLOEXEC, 0);
    }
    if (xFd < 0)
        return nullptr;
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        ::close(xFd);
        return nullptr;
    }
    return std::unique_ptr<X11HotKeyGrabber>(
        new X11HotKeyGrabber(std::move(connection), generation, xFd, wakeFd, std::move(onPress)));
}

X11HotKeyGrabber::X11HotKeyGrabber(std::shared_ptr<SharedXConnection> connection,
                                   std::uint64_t generation, int xFd, int wakeFd,
                                   PressHandler onPress)
    : connection_(std::move(connection)),
      generation_(generation),
      onPress_(std::move(onPress)),
      xFd_(xFd),
      wakeFd_(wakeFd) {
    connection_->setKeyEventHandler([this](const XKeyEvent& event) { handleKeyEvent(event); });
    thread_ = std::thread([this] { watch(); });
}

X11HotKeyGrabber::~X11HotKeyGrabber() {
    releaseAll();
    connection_->setKeyEventHandler(nullptr);
    stopping_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(wakeFd_);
    ::close(xFd_);
}

std::optional<std::vector<X11HotKeyGrabber::Outcome>> X11HotKeyGrabber::grab(
    const std::vector<Request>& requests, std::int32_t noSuchKeyStatus, std::int32_t takenStatus) {
    // Checked under the same lease as the grabs: a reconnect cannot slip in
    // between, and a watch that has not noticed its loss yet still counts
    // as watching.
    auto lease = connection_->lease();
    if (!lease || lease->generation() != generation_ || !watching_)
        return std::nullopt;
    numLockMask_ = findNumLockMask(lease->connection().display());
    std::vector<Outcome> outcomes;
    for (const auto& request : requests)
        outcomes.push_back(grabOne(lease->connection(), request, noSuchKeyStatus, takenStatus));
    return outcomes;
}

void X11HotKeyGrabber::releaseAll() {
    auto lease = connection_->lease();
    if (!lease)
        return;
    // Grabs of a lost connection went with it; nothing is sent for them.
    if (lease->generation() == generation_) {
        for (const auto& [chord, grab] : grabs_) {
            if (lease->connection().lost())
                break;
            ungrab(lease->connection(), chord, grab.lockVariants);
        }
        lease->connection().sync();
    }
    grabs_.clear();
    keysDown_.clear();
}

std::vector<unsigned> X11HotKeyGrabber::lockVariants() const {
    std::vector<unsigned> variants{0, LockMask};
    if (numLockMask_ != 0 && numLockMask_ != LockMask) {
        variants.push_back(numLockMask_);
        variants.push_back(numLockMask_ | LockMask);
    }
    return variants;
}

X11HotKeyGrabber::Outcome X11HotKeyGrabber::grabOne(XConnection& connection, const Request& request,
                                                    std::int32_t noSuchKeyStatus,
                                                    std::int32_t takenStatus) {
    Display* display = connection.display();
    const auto keysym = keysymForStoredKeyCode(request.combination.keyCode);
    const KeyCode keycode = keysym ? XKeysymToKeycode(display, *keysym) : 0;
    if (keycode == 0)
        return {request.bindingID, noSuchKeyStatus};
    const Chord chord{keycode, modifierMask(request.combination.modifiers)};
    if (grabs_.contains(chord))
        return {request.bindingID, takenStatus};

    const auto variants = lockVariants();
    // Errors of earlier requests must not be charged to this grab.
    const auto first = connection.nextRequest();
    for (unsigned variant : variants) {
        XGrabKey(display, keycode, chord.modifiers | variant, connection.root(), False,
                 GrabModeAsync, GrabModeAsync);
    }
    if (const auto error = connection.syncSince(first)) {
        // Only this client's grabs are released; another program's hold on
        // one of the variants stays untouched. Nothing is sent on a
        // connection whose server is gone: the grabs went with it.
        if (!connection.lost()) {
            ungrab(connection, chord, variants);
            connection.sync();
        }
        return {request.bindingID, error->errorCode};
    }
    grabs_[chord] = Grab{request.bindingID, variants};
    return {request.bindingID, std::nullopt};
}

void X11HotKeyGrabber::ungrab(XConnection& connection, const Chord& chord,
                              const std::vector<unsigned>& variants) {
    for (unsigned variant : variants) {
        XUngrabKey(connection.display(), chord.keycode, chord.modifiers | variant,
                   connection.root());
    }
}

void X11HotKeyGrabber::watch() {
    while (!stopping_) {
        pollfd fds[2] = {{xFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto got = ::read(wakeFd_, &count, sizeof count);
        }
        // Reading hands key events to handleKeyEvent(); replies to other
        // callers only wake this loop once. Once the connection is lost (or
        // closed under this loop) the watch ends: the grabs went with it,
        // and a connection opened from here could outlive the libraries it
        // needs while the process ends.
        const short xEvents = fds[0].revents;
        if (xEvents & POLLNVAL)
            break;
        if ((xEvents & (POLLIN | POLLHUP | POLLERR)) && !connection_->readEvents(generation_))
            break;
        if (xEvents & (POLLHUP | POLLERR))
            break;
    }
    watching_ = false;
}

void X11HotKeyGrabber::handleKeyEvent(const XKeyEvent& event) {
    if (event.type == KeyRelease) {
        keysDown_.erase(event.keycode);
        return;
    }
    // A held key repeats its press; only the first one counts.
    if (!keysDown_.insert(event.keycode).second)
        return;
    const unsigned modifiers = event.state & kModifierBits & ~(LockMask | numLockMask_);
    const auto found = grabs_.find(Chord{event.keycode, modifiers});
    if (found == grabs_.end())
        return;
    onPress_(found->second.bindingID);
}

}  // namespace quorvane
