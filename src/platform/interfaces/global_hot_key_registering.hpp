#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "models/hot_keys/global_hot_key_binding.hpp"
#include "models/hot_keys/global_hot_key_registration_summary.hpp"

namespace quorvane {

// Makes the enabled global hot keys known to the desktop and reports presses.
// The store owns one for the whole run and calls it on its own thread; the
// activation handler is called on that thread too, never from inside the
// system's event handling.
class GlobalHotKeyRegistering {
  public:
    using ActivationHandler = std::function<void(const std::string& bindingID)>;

    virtual ~GlobalHotKeyRegistering() = default;

    // Called with the binding id of each press.
    virtual void setActivationHandler(ActivationHandler handler) = 0;
    virtual const ActivationHandler& activationHandler() const = 0;

    // The ids of the bindings registered now.
    virtual std::set<std::string> registeredBindingIDs() const = 0;

    // Replaces whatever was registered by the enabled bindings of the list.
    // A binding the desktop refuses becomes a failure; the others are still
    // registered.
    virtual GlobalHotKeyRegistrationSummary reconcile(
        const std::vector<GlobalHotKeyBinding>& bindings) = 0;

    // Releases every registered hot key.
    virtual void unregisterAll() = 0;
};

}  // namespace quorvane
