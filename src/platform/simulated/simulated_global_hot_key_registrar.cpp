#include "platform/simulated/simulated_global_hot_key_registrar.hpp"

#include <utility>

namespace quorvane {

void SimulatedGlobalHotKeyRegistrar::setActivationHandler(ActivationHandler handler) {
    handler_ = std::move(handler);
}

std::set<std::string> SimulatedGlobalHotKeyRegistrar::registeredBindingIDs() const {
    std::set<std::string> ids;
    for (const auto& [id, combination] : registered_)
        ids.insert(id);
    return ids;
}

GlobalHotKeyRegistrationSummary SimulatedGlobalHotKeyRegistrar::reconcile(
    const std::vector<GlobalHotKeyBinding>& bindings) {
    ++reconcileCount_;
    lastBindings_ = bindings;
    registered_.clear();
    GlobalHotKeyRegistrationSummary summary;
    for (const auto& binding : bindings) {
        if (!binding.enabled)
            continue;
        ++summary.requestedCount;
        std::optional<std::int32_t> refusal;
        for (const auto& [combination, status] : refused_) {
            if (combination == binding.combination)
                refusal = status;
        }
        if (refusal) {
            summary.failures.push_back({binding.id, binding.combination.displayLabel(), *refusal});
            continue;
        }
        registered_[binding.id] = binding.combination;
    }
    summary.registeredCount = static_cast<int>(registered_.size());
    return summary;
}

void SimulatedGlobalHotKeyRegistrar::unregisterAll() {
    ++unregisterAllCount_;
    registered_.clear();
}

void SimulatedGlobalHotKeyRegistrar::refuse(const HotKeyCombination& combination,
                                            std::int32_t statusCode) {
    refused_.emplace_back(combination, statusCode);
}

bool SimulatedGlobalHotKeyRegistrar::press(const HotKeyCombination& combination) {
    for (const auto& [id, registeredCombination] : registered_) {
        if (registeredCombination == combination) {
            const std::string bindingID = id;  // the handler may re-register
            deliver(bindingID);
            return true;
        }
    }
    return false;
}

void SimulatedGlobalHotKeyRegistrar::deliver(const std::string& bindingID) {
    if (handler_)
        handler_(bindingID);
}

}  // namespace quorvane
