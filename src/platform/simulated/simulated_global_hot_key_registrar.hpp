#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "models/hot_keys/hot_key_combination.hpp"
#include "platform/interfaces/global_hot_key_registering.hpp"

namespace quorvane {

// A desktop that grants every key chord except the ones a test marks as
// taken. Presses are delivered synchronously: tests call press() from the
// store's thread.
class SimulatedGlobalHotKeyRegistrar final : public GlobalHotKeyRegistering {
  public:
    void setActivationHandler(ActivationHandler handler) override;
    const ActivationHandler& activationHandler() const override { return handler_; }
    std::set<std::string> registeredBindingIDs() const override;
    GlobalHotKeyRegistrationSummary reconcile(
        const std::vector<GlobalHotKeyBinding>& bindings) override;
    void unregisterAll() override;

    // Later registrations of `combination` fail with `statusCode`.
    void refuse(const HotKeyCombination& combination, std::int32_t statusCode);

    // Delivers a press of the chord if a binding holds it now; false when
    // nothing is registered on it (the press goes to no one).
    bool press(const HotKeyCombination& combination);
    // Delivers a press for a binding id directly, registered or not, as a
    // press queued before its binding was removed would arrive.
    void deliver(const std::string& bindingID);

    int reconcileCount() const { return reconcileCount_; }
    int unregisterAllCount() const { return unregisterAllCount_; }
    // The bindings handed to the last reconcile, as given.
    const std::vector<GlobalHotKeyBinding>& lastBindings() const { return lastBindings_; }

  private:
    ActivationHandler handler_;
    std::map<std::string, HotKeyCombination> registered_;
    std::vector<std::pair<HotKeyCombination, std::int32_t>> refused_;
    std::vector<GlobalHotKeyBinding> lastBindings_;
    int reconcileCount_ = 0;
    int unregisterAllCount_ = 0;
};

}  // namespace quorvane
