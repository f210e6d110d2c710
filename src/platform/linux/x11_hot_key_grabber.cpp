#include "platform/linux/x11_hot_key_grabber.hpp"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <future>

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

std::unique_ptr<X11HotKeyGrabber> X11HotKeyGrabber::open(const std::string& displayName,
                                                         PressHandler onPress) {
    auto connection = XConnection::open(displayName);
    if (!connection)
        return nullptr;
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0)
        return nullptr;
    // Auto-repeat then sends repeated presses without releases in between,
    // which tells a held chord from a new press.
    XkbSetDetectableAutoRepeat(connection->display(), True, nullptr);
    return std::unique_ptr<X11HotKeyGrabber>(
        new X11HotKeyGrabber(std::move(*connection), wakeFd, std::move(onPress)));
}

X11HotKeyGrabber::X11HotKeyGrabber(XConnection connection, int wakeFd, PressHandler onPress)
    : connection_(std::move(connection)), onPress_(std::move(onPress)), wakeFd_(wakeFd) {
    thread_ = std::thread([this] { loop(); });
}

X11HotKeyGrabber::~X11HotKeyGrabber() {
    releaseAll();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(wakeFd_);
}

void X11HotKeyGrabber::perform(std::function<void()> work) {
    std::promise<void> done;
    auto finished = done.get_future();
    {
        std::lock_guard lock(mutex_);
        queue_.push_back([&work, &done] {
            work();
            done.set_value();
        });
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
    finished.wait();
}

std::vector<X11HotKeyGrabber::Outcome> X11HotKeyGrabber::grab(const std::vector<Request>& requests,
                                                              std::int32_t noSuchKeyStatus,
                                                              std::int32_t takenStatus) {
    std::vector<Outcome> outcomes;
    perform([&] {
        numLockMask_ = findNumLockMask(connection_.display());
        for (const auto& request : requests)
            outcomes.push_back(grabOne(request, noSuchKeyStatus, takenStatus));
    });
    return outcomes;
}

void X11HotKeyGrabber::releaseAll() {
    perform([this] {
        for (const auto& [chord, grab] : grabs_)
            ungrab(chord, grab.lockVariants);
        grabs_.clear();
        keysDown_.clear();
        connection_.sync();
    });
}

std::vector<unsigned> X11HotKeyGrabber::lockVariants() {
    std::vector<unsigned> variants{0, LockMask};
    if (numLockMask_ != 0 && numLockMask_ != LockMask) {
        variants.push_back(numLockMask_);
        variants.push_back(numLockMask_ | LockMask);
    }
    return variants;
}

X11HotKeyGrabber::Outcome X11HotKeyGrabber::grabOne(const Request& request,
                                                    std::int32_t noSuchKeyStatus,
                                                    std::int32_t takenStatus) {
    Display* display = connection_.display();
    const auto keysym = keysymForStoredKeyCode(request.combination.keyCode);
    const KeyCode keycode = keysym ? XKeysymToKeycode(display, *keysym) : 0;
    if (keycode == 0)
        return {request.bindingID, noSuchKeyStatus};
    const Chord chord{keycode, modifierMask(request.combination.modifiers)};
    if (grabs_.contains(chord))
        return {request.bindingID, takenStatus};

    const auto variants = lockVariants();
    // Errors of earlier requests must not be charged to this grab.
    connection_.sync();
    for (unsigned variant : variants) {
        XGrabKey(display, keycode, chord.modifiers | variant, connection_.root(), False,
                 GrabModeAsync, GrabModeAsync);
    }
    if (const auto error = connection_.sync()) {
        // Only this client's grabs are released; another program's hold on
        // one of the variants stays untouched.
        ungrab(chord, variants);
        connection_.sync();
        return {request.bindingID, error->errorCode};
    }
    grabs_[chord] = Grab{request.bindingID, variants};
    return {request.bindingID, std::nullopt};
}

void X11HotKeyGrabber::ungrab(const Chord& chord, const std::vector<unsigned>& variants) {
    for (unsigned variant : variants) {
        XUngrabKey(connection_.display(), chord.keycode, chord.modifiers | variant,
                   connection_.root());
    }
}

void X11HotKeyGrabber::loop() {
    const int xFd = ConnectionNumber(connection_.display());
    while (true) {
        runQueuedWork();
        drainEvents();
        {
            std::lock_guard lock(mutex_);
            if (stopping_ && queue_.empty())
                return;
        }
        pollfd fds[2] = {{xFd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto got = ::read(wakeFd_, &count, sizeof count);
        }
    }
}

void X11HotKeyGrabber::runQueuedWork() {
    while (true) {
        std::function<void()> work;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
}

void X11HotKeyGrabber::drainEvents() {
    Display* display = connection_.display();
    // XPending also reads what the server sent meanwhile, including events
    // that a sync of the queued work already pulled in.
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress)
            handleKeyEvent(event.xkey, true);
        else if (event.type == KeyRelease)
            handleKeyEvent(event.xkey, false);
    }
}

void X11HotKeyGrabber::handleKeyEvent(const XKeyEvent& event, bool pressed) {
    if (!pressed) {
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
