#pragma once

#include <X11/Xlib.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "models/display/display_control_error.hpp"

struct xcb_connection_t;

namespace quorvane {

// The code carried by DisplayControlError::coreGraphics when no X server
// answers at all, or the connection to it was lost (X's own error codes are
// positive).
inline constexpr int kXServerUnreachableCode = kDisplayServerUnreachableCode;

// Frees what Xlib handed out (property data and the like).
struct XFreeDeleter {
    void operator()(void* data) const { XFree(data); }
};

// An error the X server reported for one request.
struct XProtocolError {
    int errorCode = 0;
    int requestCode = 0;
    int minorCode = 0;

    bool operator==(const XProtocolError&) const = default;
};

// One client connection to an X server. Xlib reports request errors
// asynchronously through a process-wide handler whose default ends the
// process; while a connection of this type is open its errors are recorded
// instead and handed out by sync(), so a refused request becomes a typed
// error at the call that caused it. A server that goes away never ends the
// process either, not even while the connection is being opened or closed:
// the connection is then lost (see lost()). A connection is used by one
// thread at a time; callers that run on different threads open their own.
class XConnection {
  public:
    // Opens the named display ("" means $DISPLAY); none when no server
    // answers, or when it goes away before the connection is set up.
    static std::optional<XConnection> open(const std::string& displayName);

    XConnection(XConnection&&) noexcept;
    XConnection& operator=(XConnection&&) noexcept;
    ~XConnection();

    Display* display() const { return display_.get(); }
    Window root() const;

    // The Xlib requests of the screen and output reads, the ramps, the atoms
    // and the syncs are made through here: `call` gets the display and its
    // answer is returned, unless the server is known to be gone, when
    // `whenLost` is returned without calling it. Once XCB has met the loss
    // (at a request sent through it, or while writing out what it held),
    // Xlib cannot even make a request: it takes the socket back from XCB,
    // fails, and builds the request through a null pointer.
    template <typename Result, typename Call>
    Result ask(Result whenLost, Call&& call) {
        if (!readyForXlib())
            return whenLost;
        return std::forward<Call>(call)(display_.get());
    }

    // RandR's first event and error codes, found as XRRQueryExtension finds
    // them; false when the server has no RandR or is gone. Xlib's extension
    // query takes its reply as answered even when none came, and would go on
    // to set up event handlers at whatever codes that memory held (saying
    // so on standard error): a server gone at that request comes back here
    // instead, and the connection is lost.
    bool queryRandr(int& eventBase, int& errorBase);

    // Interned once per connection: an atom never changes while the server
    // runs, and asking again costs a round trip each time.
    Atom atom(const char* name, bool onlyIfExists = false);
    // An atom the server or its drivers define when they start (output
    // property names): looked up once, and a missing one stays missing for
    // this connection.
    Atom serverAtom(const char* name);
    // Looks up the server atoms of these names not known yet, all in one
    // round trip; serverAtom() then answers from what it remembers.
    void lookUpServerAtoms(std::initializer_list<const char*> names);

    // The connection's XCB side: requests sent there are all on their way
    // before the first reply is waited for. Their errors come back with
    // their replies, never through sync().
    xcb_connection_t* xcb() const;

    // Waits until the server has handled every request sent so far and
    // returns the first error reported since the previous sync, if any. A
    // lost connection reports kXServerUnreachableCode.
    std::optional<XProtocolError> sync();

    // Whether the server went away; every request on a lost connection
    // fails at once and the connection is only good for closing.
    bool lost() const;

    // The sequence number the next request will carry.
    unsigned long nextRequest() const;
    // As sync(), but only errors of requests from `firstRequest` on count:
    // what earlier requests of other callers left behind is dropped, so a
    // caller needs no sync of its own before it starts.
    std::optional<XProtocolError> syncSince(unsigned long firstRequest);
    // As sync(), with one answer per request that `requests` names (each
    // its nextRequest() before it was sent): the error the server reported
    // for it, none where it reported none. Errors of other requests are
    // dropped. On a lost connection every request fails with
    // kXServerUnreachableCode.
    std::vector<std::optional<XProtocolError>> syncEach(const std::vector<unsigned long>& requests);

  private:
    // Writes out the requests XCB holds, so a loss they meet is known
    // before Xlib takes the socket; true when Xlib may make requests.
    bool readyForXlib();

    struct Closer {
        void operator()(Display* display) const;
    };
    explicit XConnection(Display* display);

    std::unique_ptr<Display, Closer> display_;
    std::map<std::string, Atom, std::less<>> atoms_;
};

}  // namespace quorvane
