#include "models/display/auto_apply_tracker.hpp"

namespace quorvane {

void AutoApplyTracker::clear(const DisplayIdentity& identity) {
    // The bar ends the raw value, so a raw value that is a prefix of another
    // monitor's raw value does not match it.
    const std::string prefix = identity.rawValue + "|";
    std::erase_if(appliedSignatures,
                  [&prefix](const auto& entry) { return entry.first.starts_with(prefix); });
}

void AutoApplyTracker::reconcileVisibleInstances(const std::set<std::string>& visibleInstanceKeys) {
    std::erase_if(appliedSignatures, [&visibleInstanceKeys](const auto& entry) {
        return !visibleInstanceKeys.contains(entry.first);
    });
}

}  // namespace quorvane
