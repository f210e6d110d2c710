#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/randr_output.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

// The one X connection of the process, opened on first use and kept: the
// display manager, the gamma controller, the backlight's built-in check, the
// DDC output describer and the hot keys all talk through it, so a command
// costs one connection set-up instead of one per call.
//
// Callers on several threads take turns: a lease holds the connection for
// one thread at a time. The connection listens to RandR's screen, CRTC and
// output changes; every lease first reads what the server sent, and a
// change drops what was remembered about the outputs, so a remembered CRTC
// is never written after its output went away or moved.
class SharedXConnection {
  public:
    // What is remembered between leases; valid until the screen changes.
    struct OutputCache {
        // The active outputs (without modes) as last read; none when they
        // must be read again.
        std::optional<std::vector<RandrOutput>> activeOutputs;
        // Gamma ramp entries by CRTC.
        std::map<XResourceID, std::size_t> rampSizes;

        void clear();
        // The remembered active output with this ID; none when the list is
        // not known or does not hold it.
        const RandrOutput* find(XResourceID id) const;
    };

    // Called, under the lease, with each key event the connection receives.
    using KeyEventHandler = std::function<void(const XKeyEvent&)>;

    class Lease {
      public:
        Lease(Lease&&) noexcept = default;
        Lease& operator=(Lease&&) noexcept = default;
        // Hands on key events that the holder's requests pulled in.
        ~Lease();

        XConnection& connection() const { return *owner_->connection_; }
        OutputCache& cache() const { return owner_->cache_; }
        // The RandR error base (BadRROutput and friends are offsets from it).
        int randrErrorBase() const { return owner_->randrErrorBase_; }
        // Which of the connections opened so far this is: a connection opened
        // after a loss has a new one, so a watcher can tell whether it still
        // watches the connection requests go to.
        std::uint64_t generation() const { return owner_->generation_; }
        // The active outputs, from the cache or read afresh (and then
        // remembered); empty when the server has no usable RandR.
        const std::vector<RandrOutput>& activeOutputs() const;
        // The active output with this ID, from the cache or read afresh;
        // none when the server does not drive it.
        const RandrOutput* activeOutput(XResourceID id) const;
        // Reads what the server has sent since the last look, without a
        // round trip; true when the screen changed (the cache is then empty).
        bool takeScreenChanges() const;

      private:
        friend class SharedXConnection;
        Lease(SharedXConnection& owner, std::unique_lock<std::mutex> lock)
            : owner_(&owner), lock_(std::move(lock)) {}

        SharedXConnection* owner_;
        std::unique_lock<std::mutex> lock_;
    };

    // What follows the loss of the connection. A command reads the screen
    // and writes to it on one connection: were it to reconnect midway, it
    // would write what it read of one server to another (a restarted one,
    // whose outputs may be others under the same IDs).
    enum class AfterLoss { reconnect, stayLost };

    // "" means $DISPLAY.
    explicit SharedXConnection(std::string displayName = {},
                               AfterLoss afterLoss = AfterLoss::reconnect);
    SharedXConnection(const SharedXConnection&) = delete;
    SharedXConnection& operator=(const SharedXConnection&) = delete;
    ~SharedXConnection();

    // Waits for the connection, opening it when it is not open yet (a server
    // that was not there at the last attempt, or whose connection was lost,
    // is tried again unless AfterLoss::stayLost); none when no server
    // answers, or when the connection stays lost.
    std::optional<Lease> lease();

    // Whether, with AfterLoss::stayLost, a connection this one made has
    // been lost: every lease fails from then on. Not to be asked under a
    // lease of this connection.
    bool lostForGood();

    // For a watcher that polls (a duplicate of) the descriptor of the
    // connection of this generation: reads what the server has sent, handing
    // key events on, without ever opening the connection. False when that
    // connection is no longer the open one (it was lost and maybe replaced
    // since; a newer one is left alone) or its server went away (the lost
    // connection is then dropped; the next lease tries the server afresh).
    bool readEvents(std::uint64_t generation);

    // Key events are handed to this handler from whichever lease reads them.
    void setKeyEventHandler(KeyEventHandler handler);

    const std::string& displayName() const { return displayName_; }

  private:
    bool open();
    void dropConnection();
    bool dispatchEvents(int queuedMode);

    std::string displayName_;
    AfterLoss afterLoss_;
    std::mutex mutex_;
    // A connection was lost (or dropped after its loss).
    bool lostOnce_ = false;
    std::optional<XConnection> connection_;
    std::uint64_t generation_ = 0;
    int randrEventBase_ = -1;
    int randrErrorBase_ = 0;
    OutputCache cache_;
    KeyEventHandler keyEventHandler_;
};

}  // namespace quorvane
