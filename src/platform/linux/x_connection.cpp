#include "platform/linux/x_connection.hpp"

#include <X11/Xlib-xcb.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
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

// An Xlib call under way on this thread that must not go on once its
// server is gone, and where to go back to should it go before the call
// returns.
struct GoBack {
    sigjmp_buf back;
    // The display that lost its server.
    Display* volatile lost = nullptr;
};

thread_local GoBack* goBackOnThisThread = nullptr;

// Xlib has a single error handler per process, so the errors of open
// connections are kept in one registry behind a lock. Errors of connections
// that are not ours (a GUI toolkit's) go on to the handler that was
// installed before.
//
// A lost connection (the server went away) is an I/O error, which Xlib ends
// the process for unless told otherwise: after the process-wide I/O error
// handler it calls the connection's exit handler, whose default exits. For
// our connections the I/O error handler only marks the connection lost and
// the exit handler (Xlib >= 1.8) returns instead of exiting; Xlib then fails
// every further request on that connection at once, and sync() reports the
// loss as a typed error. A connection is ours from the start of
// XOpenDisplay until XCloseDisplay has returned, so a server that goes away
// while a connection opens or closes never ends the process either; one
// that went away while XOpenDisplay ran is never handed back to Xlib.
class XErrorRegistry {
  public:
    // Never destroyed: Xlib may call the handlers until the very end of the
    // process, static destructors included.
    static XErrorRegistry& shared() {
        static XErrorRegistry* const registry = new XErrorRegistry();
        return *registry;
    }

    // Puts the handlers in front again should another library (Qt's X
    // connection) have set its own since; that one then serves the
    // connections that are not ours.
    void install() {
        std::lock_guard lock(mutex_);
        if (XErrorHandler before = XSetErrorHandler(&XErrorRegistry::handle); before != &handle)
            previous_ = before;
        if (XIOErrorHandler before = XSetIOErrorHandler(&XErrorRegistry::handleIO);
            before != &handleIO)
            previousIO_ = before;
    }

    // XOpenDisplay with the I/O error handling in place; none when no server
    // answers or when it went away before the connection was set up.
    Display* open(const char* name) {
        install();
        GoBack opening;
        goBackOnThisThread = &opening;
        Display* display = openOrGoBack(name, opening);
        goBackOnThisThread = nullptr;
        if (Display* lost = opening.lost) {
            abandon(lost);
            return nullptr;
        }
        if (display != nullptr)
            add(display);
        return display;
    }

    // Closes; the connection stays ours until XCloseDisplay has returned.
    // XCloseDisplay waits for the server itself: errors of requests still in
    // flight arrive then, while the entry is still there, and are dropped
    // with it.
    void close(Display* display) {
        // Once the server is gone, Xlib can make no request at all (not even
        // XCloseDisplay's) where XCB held the socket when it met the loss,
        // under a request sent through XCB, and nothing tells whether it
        // did: a lost display is left as a half-made one is.
        if (xcb_connection_has_error(XGetXCBConnection(display)) != 0) {
            abandon(display);
            std::lock_guard lock(mutex_);
            entries_.erase(display);
            return;
        }
        {
            std::lock_guard lock(mutex_);
            entries_[display].closing = true;
        }
        XCloseDisplay(display);
        std::lock_guard lock(mutex_);
        // A display opened meanwhile at the same address is a new entry.
        if (auto found = entries_.find(display); found != entries_.end() && found->second.closing)
            entries_.erase(found);
    }

    // XRRQueryExtension, gone back from should the server go at its
    // request. Xlib had given the connection's user lock to this thread and
    // marks the connection broken before it calls the handler; the exit
    // handler's part is done here.
    bool queryRandr(Display* display, int& eventBase, int& errorBase) {
        GoBack query;
        goBackOnThisThread = &query;
        const bool present = queryRandrOrGoBack(display, &eventBase, &errorBase, query);
        goBackOnThisThread = nullptr;
        if (query.lost == nullptr)
            return present;
        handleIOExit(display, nullptr);
        return false;
    }

    bool lost(Display* display) {
        std::lock_guard lock(mutex_);
        auto found = entries_.find(display);
        return found != entries_.end() && found->second.lost;
    }

    std::vector<RecordedError> take(Display* display) {
        std::lock_guard lock(mutex_);
        auto found = entries_.find(display);
        if (found == entries_.end()) {
            return {};
        }
        return std::exchange(found->second.errors, {});
    }

  private:
    struct Entry {
        std::vector<RecordedError> errors;
        bool lost = false;
        // XCloseDisplay is under way.
        bool closing = false;
    };

    XErrorRegistry() = default;

    void add(Display* display) {
        XSetIOErrorExitHandler(display, &XErrorRegistry::handleIOExit, nullptr);
        std::lock_guard lock(mutex_);
        entries_[display] = Entry{};
    }

    void markLost(Display* display) {
        std::lock_guard lock(mutex_);
        entries_[display].lost = true;
    }

    // Xlib left off in the middle of XOpenDisplay: the display may not have
    // its default graphics contexts yet (XCloseDisplay would free a null
    // one), its lock may still be held, and no Xlib call can tell how far it
    // got. So none is made: only the socket is closed, which xcb opened and
    // Xlib noted before the first request that can meet the loss, and the
    // rest is left behind. A few kilobytes, and only when a server dies
    // while a connection is being opened or used through XCB; it stays
    // listed here, so a leak checker sees it kept on purpose.
    void abandon(Display* display) {
        if (const int socket = ConnectionNumber(display); socket >= 0)
            ::close(socket);
        std::lock_guard lock(mutex_);
        abandoned_.push_back(display);
    }

    // Kept apart so that nothing with a destructor lives in the frame that
    // a lost server jumps back to.
    static Display* openOrGoBack(const char* name, GoBack& opening) {
        if (sigsetjmp(opening.back, 0) != 0)
            return nullptr;
        return XOpenDisplay(name);
    }

    static bool queryRandrOrGoBack(Display* display, int* eventBase, int* errorBase,
                                   GoBack& query) {
        if (sigsetjmp(query.back, 0) != 0)
            return false;
        return XRRQueryExtension(display, eventBase, errorBase) != 0;
    }

    static int handle(Display* display, XErrorEvent* event) {
        auto& registry = shared();
        XErrorHandler previous = nullptr;
        {
            std::lock_guard lock(registry.mutex_);
            auto found = registry.entries_.find(display);
            if (found != registry.entries_.end()) {
                auto& errors = found->second.errors;
                if (errors.size() < kMaxRecordedErrors) {
                    errors.push_back(
                        {event->serial, XProtocolError{event->error_code, event->request_code,
                                                       event->minor_code}});
                }
                return 0;
            }
            previous = registry.previous_;
        }
        return previous ? previous(display, event) : 0;
    }

    // Returns for our connections (Xlib then calls the exit handler below);
    // others get the handler installed before, which may end the process.
    static int handleIO(Display* display) {
        // The connection XOpenDisplay is setting up on this thread has no
        // exit handler of ours yet, and Xlib's would end the process once
        // this returns; an extension query would go on with a reply that
        // never came. Go back to where the call was made instead, without
        // a lock held or any object alive that would need its destructor.
        if (GoBack* goBack = goBackOnThisThread) {
            goBack->lost = display;
            goBackOnThisThread = nullptr;
            siglongjmp(goBack->back, 1);
        }
        auto& registry = shared();
        XIOErrorHandler previous = nullptr;
        {
            std::lock_guard lock(registry.mutex_);
            auto found = registry.entries_.find(display);
            if (found != registry.entries_.end()) {
                found->second.lost = true;
                return 0;
            }
            previous = registry.previousIO_;
        }
        return previous ? previous(display) : 0;
    }

    // Xlib hands the connection's user lock to the thread that met the loss
    // and keeps it there (it expects the process to end); another thread
    // that later closes the connection would wait for it for ever. Our
    // connections are used by one thread at a time, so it is given back.
    static void handleIOExit(Display* display, void*) {
        shared().markLost(display);
        XUnlockDisplay(display);
    }

    XErrorHandler previous_ = nullptr;
    XIOErrorHandler previousIO_ = nullptr;
    std::mutex mutex_;
    std::unordered_map<Display*, Entry> entries_;
    // Half-made displays whose server went away, never freed (abandon()).
    std::vector<Display*> abandoned_;
};

}  // namespace

void XConnection::Closer::operator()(Display* display) const {
    XErrorRegistry::shared().close(display);
}

XConnection::XConnection(Display* display) : display_(display) {}
XConnection::XConnection(XConnection&&) noexcept = default;
XConnection& XConnection::operator=(XConnection&&) noexcept = default;
XConnection::~XConnection() = default;

std::optional<XConnection> XConnection::open(const std::string& displayName) {
    Display* display =
        XErrorRegistry::shared().open(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return std::nullopt;
    }
    return XConnection(display);
}

Window XConnection::root() const {
    return DefaultRootWindow(display_.get());
}

bool XConnection::queryRandr(int& eventBase, int& errorBase) {
    if (!readyForXlib())
        return false;
    return XErrorRegistry::shared().queryRandr(display_.get(), eventBase, errorBase);
}

Atom XConnection::atom(const char* name, bool onlyIfExists) {
    if (auto found = atoms_.find(name); found != atoms_.end() && found->second != None) {
        return found->second;
    }
    // A missing name is asked again next time: another client may create it
    // (a profile published later).
    Atom atom = ask(Atom{None}, [&](Display* display) {
        return XInternAtom(display, name, onlyIfExists ? True : False);
    });
    atoms_[name] = atom;
    return atom;
}

Atom XConnection::serverAtom(const char* name) {
    if (auto found = atoms_.find(name); found != atoms_.end()) {
        return found->second;
    }
    Atom atom =
        ask(Atom{None}, [name](Display* display) { return XInternAtom(display, name, True); });
    atoms_[name] = atom;
    return atom;
}

void XConnection::lookUpServerAtoms(std::initializer_list<const char*> names) {
    std::vector<std::pair<const char*, xcb_intern_atom_cookie_t>> asked;
    for (const char* name : names) {
        if (!atoms_.contains(name))
            asked.emplace_back(
                name,
                xcb_intern_atom(xcb(), 1, static_cast<std::uint16_t>(std::strlen(name)), name));
    }
    for (const auto& [name, cookie] : asked) {
        xcb_generic_error_t* error = nullptr;
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(xcb(), cookie, &error);
        // Unanswered, the name is asked again next time.
        if (reply != nullptr)
            atoms_[name] = reply->atom;
        std::free(reply);
        std::free(error);
    }
}

xcb_connection_t* XConnection::xcb() const {
    return XGetXCBConnection(display_.get());
}

std::optional<XProtocolError> XConnection::sync() {
    return syncSince(0);
}

unsigned long XConnection::nextRequest() const {
    return NextRequest(display_.get());
}

bool XConnection::readyForXlib() {
    xcb_flush(xcb());
    return !lost();
}

bool XConnection::lost() const {
    // A loss met by a request sent through XCB is Xlib's news only at its
    // own next request.
    return XErrorRegistry::shared().lost(display_.get()) || xcb_connection_has_error(xcb()) != 0;
}

std::optional<XProtocolError> XConnection::syncSince(unsigned long firstRequest) {
    ask(0, [](Display* display) { return XSync(display, False); });
    if (lost())
        return XProtocolError{kXServerUnreachableCode, 0, 0};
    for (const auto& recorded : XErrorRegistry::shared().take(display_.get())) {
        if (recorded.serial >= firstRequest) {
            return recorded.error;
        }
    }
    return std::nullopt;
}

std::vector<std::optional<XProtocolError>> XConnection::syncEach(
    const std::vector<unsigned long>& requests) {
    ask(0, [](Display* display) { return XSync(display, False); });
    std::vector<std::optional<XProtocolError>> answers(requests.size());
    if (lost()) {
        answers.assign(requests.size(), XProtocolError{kXServerUnreachableCode, 0, 0});
        return answers;
    }
    for (const auto& recorded : XErrorRegistry::shared().take(display_.get())) {
        for (std::size_t index = 0; index < requests.size(); ++index) {
            if (requests[index] == recorded.serial && !answers[index])
                answers[index] = recorded.error;
        }
    }
    return answers;
}

}  // namespace quorvane
