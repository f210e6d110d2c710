#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "models/hot_keys/hot_key_combination.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

// One X connection that holds passive key grabs on the root window and
// watches for their presses. Xlib connections are not to be shared between
// threads, so every request and every event of this connection is handled on
// the grabber's own thread: the public calls queue their work there and wait
// for its result.
class X11HotKeyGrabber {
  public:
    // Called on the grabber's thread with the binding id of a pressed chord.
    // Must only hand the id on (post it), never do the work itself.
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

    // None when no X server answers on `displayName` ("" means $DISPLAY).
    static std::unique_ptr<X11HotKeyGrabber> open(const std::string& displayName,
                                                  PressHandler onPress);
    ~X11HotKeyGrabber();
    X11HotKeyGrabber(const X11HotKeyGrabber&) = delete;
    X11HotKeyGrabber& operator=(const X11HotKeyGrabber&) = delete;

    // Grabs each request's chord in order, next to the grabs already held.
    // `noSuchKeyStatus` is reported for key codes without a key on this
    // keyboard, `takenStatus` for a chord an earlier grab already holds.
    std::vector<Outcome> grab(const std::vector<Request>& requests, std::int32_t noSuchKeyStatus,
                              std::int32_t takenStatus);
    // Releases every grab this connection holds.
    void releaseAll();

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

    X11HotKeyGrabber(XConnection connection, int wakeFd, PressHandler onPress);

    // Runs `work` on the grabber's thread and waits for it.
    void perform(std::function<void()> work);
    void loop();
    void runQueuedWork();
    void drainEvents();
    void handleKeyEvent(const XKeyEvent& event, bool pressed);
    std::vector<unsigned> lockVariants();
    Outcome grabOne(const Request& request, std::int32_t noSuchKeyStatus, std::int32_t takenStatus);
    void ungrab(const Chord& chord, const std::vector<unsigned>& variants);

    // Touched only on the grabber's thread.
    XConnection connection_;
    std::map<Chord, Grab> grabs_;
    std::set<unsigned> keysDown_;
    unsigned numLockMask_ = 0;
    PressHandler onPress_;

    int wakeFd_ = -1;
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quorvane
