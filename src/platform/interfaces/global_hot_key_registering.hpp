#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "models/global_hot_key_binding.hpp"
#include "models/global_hot_key_registration_summary.hpp"

namespace quorvane {

// Makes the enabled global hot keys known to the desktop and reports presses.
// The registrar never decides which bindings exist or conflict: the store
// hands it the finished list. Every call comes from the store's thread.
class GlobalHotKeyRegistering {
  public:
    // Called on the store's thread, once per press, with the pressed
    // binding's id.
    using ActivationHandler = std::function<void(const std::string& bindingID)>;

    virtual ~GlobalHotKeyRegistering() = default;

    // Replaces any handler held before.
    virtual void setActivationHandler(ActivationHandler handler) = 0;

    // The ids of the bindings registered now.
    virtual std::set<std::string> registeredBindingIDs() const = 0;

    // Unregisters everything registered before, then registers every binding
    // whose `enabled` is true. Keys the desktop refuses become failures of the
    // summary; they never stop the other registrations.
    virtual GlobalHotKeyRegistrationSummary reconcile(
        const std::vector<GlobalHotKeyBinding>& bindings) = 0;

    virtual void unregisterAll() = 0;
};

}  // namespace quorvane
