#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "models/hot_keys/hot_key_combination.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

class SharedXConnection;

// Passive key grabs on the root window, held through the process's shared X
// connection, and a small thread that watches the connection for their
// presses. Grabs and releases run on the caller's thread under the
// connection's lease; key events are handed over by whichever lease reads
// them, so a press pulled in by another caller's request is not lost.
class X11HotKeyGrabber {
  public:
    // Called, under the connection's lease, with the binding id of a pressed
    // chord. Must only hand the id on (post it), never do the work itself.
    using PressHandler = std::function<void(const std::string& bindingID)>;

    struct Request {
        std::string bindingID;
        HotKeyCombination combination;
    };
    struct Outcome {
        std::string bindingID;
        // Absent when the chord is grabbed; else the X error code of the
        // refused grab or one of the registrar's own statuses.
        std::optional<std::int32_t> failureStatus;
    };

    // None when no X server answers on the connection.
    static std::unique_ptr<X11HotKeyGrabber> open(std::shared_ptr<SharedXConnection> connection,
                                                  PressHandler onPress);
    ~X11HotKeyGrabber();
    X11HotKeyGrabber(const X11HotKeyGrabber&) = delete;
    X11HotKeyGrabber& operator=(const X11HotKeyGrabber&) = delete;

    // Grabs each request's chord in order, next to the grabs already held.
    // `noSuchKeyStatus` is reported for key codes without a key on this
    // keyboard, `takenStatus` for a chord an earlier grab already holds.
    // None, with nothing grabbed, when no server answers or the connection
    // is no longer the one this grabber watches (it was lost and another
    // opened before the watch noticed): presses of grabs made there would
    // not be delivered, so the caller needs a new grabber.
    std::optional<std::vector<Outcome>> grab(const std::vector<Request>& requests,
                                             std::int32_t noSuchKeyStatus,
                                             std::int32_t takenStatus);
    // Releases every grab this grabber holds; grabs that went with a lost
    // connection are only forgotten once another connection is open.
    void releaseAll();
    // False once the watch for presses has ended because the connection was
    // lost: the grabs went with it and no press is delivered any more.
    bool watching() const { return watching_; }

  private:
    struct Chord {
        unsigned keycode = 0;
        unsigned modifiers = 0;
        auto operator<=>(const Chord&) const = default;
    };
    struct Grab {
        std::string bindingID;
        // The lock masks it was grabbed with, so it is released alike even
        // after the keyboard mapping changed.
        std::vector<unsigned> lockVariants;
    };

    X11HotKeyGrabber(std::shared_ptr<SharedXConnection> connection, std::uint64_t generation,
                     int xFd, int wakeFd, PressHandler onPress);

    void watch();
    void handleKeyEvent(const XKeyEvent& event);
    std::vector<unsigned> lockVariants() const;
    Outcome grabOne(XConnection& connection, const Request& request, std::int32_t noSuchKeyStatus,
                    std::int32_t takenStatus);
    void ungrab(XConnection& connection, const Chord& chord, const std::vector<unsigned>& variants);

    std::shared_ptr<SharedXConnection> connection_;
    // The generation of the shared connection that the watch polls.
    std::uint64_t generation_ = 0;
    // Touched only under the connection's lease.
    std::map<Chord, Grab> grabs_;
    std::set<unsigned> keysDown_;
    unsigned numLockMask_ = 0;
    PressHandler onPress_;

    // A duplicate of the connection's descriptor, owned by this grabber.
    int xFd_ = -1;
    int wakeFd_ = -1;
    std::atomic<bool> stopping_ = false;
    std::atomic<bool> watching_ = true;
    std::thread thread_;
};

}  // namespace quorvane
