#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/interfaces/global_hot_key_registering.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "platform/linux/x11_hot_key_grabber.hpp"

namespace quorvane {

class SharedXConnection;

// Global hot keys as passive key grabs on the X root window. Each enabled
// binding is grabbed with its modifiers (control = Control, option = Alt/Mod1,
// command = Super/Mod4, shift = Shift), and again with Caps Lock and Num Lock
// held, so those locks do not swallow the chord.
//
// The grabs go through the process's shared X connection on the owner's
// thread; a small thread watches the connection for presses. A press is only
// looked up there and then posted to the owner's scheduler, so the
// activation handler always runs on the owner's thread. Holding a chord down
// delivers one press.
class X11GlobalHotKeyRegistrar final : public GlobalHotKeyRegistering {
  public:
    // Failure statuses that are not X error codes. A grab the server refuses
    // reports the X error code itself (BadAccess, 10, when another program
    // holds the chord).
    static constexpr std::int32_t kStatusNoServer = -1;
    static constexpr std::int32_t kStatusNoSuchKey = -2;
    static constexpr std::int32_t kStatusChordTaken = -3;

    // `owner` receives the presses and must outlive the registrar.
    // `displayName` "" means $DISPLAY. Without a server every reconcile tries
    // to connect again.
    explicit X11GlobalHotKeyRegistrar(Scheduler& owner, std::string displayName = {});
    X11GlobalHotKeyRegistrar(Scheduler& owner, std::shared_ptr<SharedXConnection> connection);
    ~X11GlobalHotKeyRegistrar() override;
    X11GlobalHotKeyRegistrar(const X11GlobalHotKeyRegistrar&) = delete;
    X11GlobalHotKeyRegistrar& operator=(const X11GlobalHotKeyRegistrar&) = delete;

    void setActivationHandler(ActivationHandler handler) override;
    const ActivationHandler& activationHandler() const override;
    std::set<std::string> registeredBindingIDs() const override;
    GlobalHotKeyRegistrationSummary reconcile(
        const std::vector<GlobalHotKeyBinding>& bindings) override;
    void unregisterAll() override;

  private:
    // Lives as long as the registrar; posted presses hold it weakly, so a
    // press that arrives after the registrar is gone is dropped.
    struct Delivery {
        ActivationHandler handler;
    };

    bool connect();
    // The outcome of each request, in order, through the connected grabber
    // or its replacement; none without a server.
    std::optional<std::vector<X11HotKeyGrabber::Outcome>> grab(
        const std::vector<X11HotKeyGrabber::Request>& requests);

    Scheduler& owner_;
    std::shared_ptr<SharedXConnection> connection_;
    std::shared_ptr<Delivery> delivery_;
    std::set<std::string> registered_;
    std::unique_ptr<X11HotKeyGrabber> grabber_;
};

}  // namespace quorvane
