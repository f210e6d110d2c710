#include "platform/linux/x_connection.hpp"

#include <mutex>
#include <unordered_map>
#include <utility>

namespace quorvane {
namespace {

// Xlib has a single error handler per process, so the errors of open
// connections are kept in one registry behind a lock. Errors of connections
// that are not ours (a GUI toolkit's) go on to the handler that was
// installed before.
class XErrorRegistry {
  public:
    static XErrorRegistry& shared() {
        static XErrorRegistry registry;
        return registry;
    }

    void add(Display* display) {
        std::call_once(installed_,
                       [this] { previous_ = XSetErrorHandler(&XErrorRegistry::handle); });
        std::lock_guard lock(mutex_);
        errors_[display] = std::nullopt;
    }

    void remove(Display* display) {
        std::lock_guard lock(mutex_);
        errors_.erase(display);
    }

    std::optional<XProtocolError> take(Display* display) {
        std::lock_guard lock(mutex_);
        auto found = errors_.find(display);
        if (found == errors_.end()) {
            return std::nullopt;
        }
        return std::exchange(found->second, std::nullopt);
    }

  private:
    static int handle(Display* display, XErrorEvent* event) {
        auto& registry = shared();
        {
            std::lock_guard lock(registry.mutex_);
            auto found = registry.errors_.find(display);
            if (found != registry.errors_.end()) {
                if (!found->second) {
                    found->second =
                        XProtocolError{event->error_code, event->request_code, event->minor_code};
                }
                return 0;
            }
        }
        return registry.previous_ ? registry.previous_(display, event) : 0;
    }

    std::once_flag installed_;
    XErrorHandler previous_ = nullptr;
    std::mutex mutex_;
    std::unordered_map<Display*, std::optional<XProtocolError>> errors_;
};

}  // namespace

void XConnection::Closer::operator()(Display* display) const {
    // Errors of requests still in flight arrive during this sync and are
    // dropped with the entry; closing then has nothing left to report.
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

Atom XConnection::atom(const char* name, bool onlyIfExists) const {
    return XInternAtom(display_.get(), name, onlyIfExists ? True : False);
}

std::optional<XProtocolError> XConnection::sync() {
    XSync(display_.get(), False);
    return XErrorRegistry::shared().take(display_.get());
}

}  // namespace quorvane
