#include "platform/linux/x_connection.hpp"

#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

// A reported error and the sequence number of the request that caused it.
struct RecordedError {
    unsigned long serial = 0;
    XProtocolError error;
};

// Enough for every request a caller sends between two syncs; later errors of
// a flood are dropped rather than kept without bound.
constexpr std::size_t kMaxRecordedErrors = 64;

// Xlib has a single error handler per process, so the errors of open
// connections are kept in one registry behind a lock. Errors of connections
// that are not ours (a GUI toolkit's) go on to the handler that was
// installed before.
//
// A lost connection (the server went away) is an I/O error, which Xlib ends
// the process for unless told otherwise. For our connections the I/O error
// handler only marks the connection lost and the per-connection exit handler
// (Xlib >= 1.8) returns instead of exiting; Xlib then fails every further
// request on that connection at once, and sync() reports the loss as a typed
// error.
class XErrorRegistry {
  public:
    static XErrorRegistry& shared() {
        static XErrorRegistry registry;
        return registry;
    }

    void add(Display* display) {
        std::call_once(installed_, [this] {
            previous_ = XSetErrorHandler(&XErrorRegistry::handle);
            previousIO_ = XSetIOErrorHandler(&XErrorRegistry::handleIO);
        });
        XSetIOErrorExitHandler(display, &XErrorRegistry::handleIOExit, nullptr);
        std::lock_guard lock(mutex_);
        errors_[display].clear();
        lost_.erase(display);
    }

    void remove(Display* display) {
        std::lock_guard lock(mutex_);
        errors_.erase(display);
        lost_.erase(display);
    }

    bool lost(Display* display) {
        std::lock_guard lock(mutex_);
        return lost_.contains(display);
    }

    std::vector<RecordedError> take(Display* display) {
        std::lock_guard lock(mutex_);
        auto found = errors_.find(display);
        if (found == errors_.end()) {
            return {};
        }
        return std::exchange(found->second, {});
    }

  private:
    static int handle(Display* display, XErrorEvent* event) {
        auto& registry = shared();
        {
            std::lock_guard lock(registry.mutex_);
            auto found = registry.errors_.find(display);
            if (found != registry.errors_.end()) {
                if (found->second.size() < kMaxRecordedErrors) {
                    found->second.push_back(
                        {event->serial, XProtocolError{event->error_code, event->request_code,
                                                       event->minor_code}});
                }
                return 0;
            }
        }
        return registry.previous_ ? registry.previous_(display, event) : 0;
    }

    // Returns for our connections (Xlib then calls the exit handler below);
    // others get the handler installed before, which may end the process.
    static int handleIO(Display* display) {
        auto& registry = shared();
        {
            std::lock_guard lock(registry.mutex_);
            if (registry.errors_.contains(display)) {
                registry.lost_.insert(display);
                return 0;
            }
        }
        return registry.previousIO_ ? registry.previousIO_(display) : 0;
    }

    static void handleIOExit(Display* display, void*) {
        auto& registry = shared();
        std::lock_guard lock(registry.mutex_);
        registry.lost_.insert(display);
    }

    std::once_flag installed_;
    XErrorHandler previous_ = nullptr;
    XIOErrorHandler previousIO_ = nullptr;
    std::mutex mutex_;
    std::unordered_map<Display*, std::vector<RecordedError>> errors_;
    std::unordered_set<Display*> lost_;
};

}  // namespace

void XConnection::Closer::operator()(Display* display) const {
    // Errors of requests still in flight arrive during this sync and are
    // dropped with the entry; closing then has nothing left to report.
    if (!XErrorRegistry::shared().lost(display))
        XSync(display, False);
    XErrorRegistry::shared().remove(display);
    XCloseDisplay(display);
}

XConnection::XConnection(Display* display) : display_(display) {}
XConnection::XConnection(XConnection&&) noexcept = default;
XConnection& XConnection::operator=(XConnection&&) noexcept = default;
XConnection::~XConnection() = default;

std::optional<XConnection> XConnection::open(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    XErrorRegistry::shared().add(display);
    return XConnection(display);
}

Window XConnection::root() const {
    return DefaultRootWindow(display_.get());
}

Atom XConnection::atom(const char* name, bool onlyIfExists) {
    if (auto found = atoms_.find(name); found != atoms_.end() && found->second != None) {
        return found->second;
    }
    // A missing name is asked again next time: another client may create it
    // (a profile published later).
    Atom atom = XInternAtom(display_.get(), name, onlyIfExists ? True : False);
    atoms_[name] = atom;
    return atom;
}

Atom XConnection::serverAtom(const char* name) {
    if (auto found = atoms_.find(name); found != atoms_.end()) {
        return found->second;
    }
    Atom atom = XInternAtom(display_.get(), name, True);
    atoms_[name] = atom;
    return atom;
}

std::optional<XProtocolError> XConnection::sync() {
    return syncSince(0);
}

unsigned long XConnection::nextRequest() const {
    return NextRequest(display_.get());
}

bool XConnection::lost() const {
    return XErrorRegistry::shared().lost(display_.get());
}

std::optional<XProtocolError> XConnection::syncSince(unsigned long firstRequest) {
    XSync(display_.get(), False);
    if (lost())
        return XProtocolError{kXServerUnreachableCode, 0, 0};
    for (const auto& recorded : XErrorRegistry::shared().take(display_.get())) {
        if (recorded.serial >= firstRequest) {
            return recorded.error;
        }
    }
    return std::nullopt;
}

}  // namespace quorvane
