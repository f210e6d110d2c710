#include "services/automation/quorvane_automation_url_coordinator.hpp"

#include "services/automation/quorvane_automation_url_parser.hpp"

namespace quorvane {

QuorvaneAutomationURLDispatchResult QuorvaneAutomationURLCoordinator::dispatch(
    std::string_view url, MonotonicTime now, Date wallNow, const RampReader& currentRamp) const {
    const std::string signature(url);
    if (lastSignature == signature && lastHandledAt &&
        now - *lastHandledAt < duplicateSuppressionWindow &&
        screenStillShowsLastHandled(currentRamp)) {
        return {true, std::nullopt};
    }
    auto command = QuorvaneAutomationURLParser::command(url);
    return {false, QuorvaneAutomationURLDispatch{std::move(command), signature, wallNow, now}};
}

void QuorvaneAutomationURLCoordinator::recordHandled(const QuorvaneAutomationURLDispatch& dispatch,
                                                     ShownRamps shown) {
    lastSignature = dispatch.signature;
    lastHandledAt = dispatch.receivedAt;
    lastShown = std::move(shown);
}

void QuorvaneAutomationURLCoordinator::forgetHandled() {
    lastSignature.reset();
    lastHandledAt.reset();
    lastShown.clear();
}

bool QuorvaneAutomationURLCoordinator::screenStillShowsLastHandled(
    const RampReader& currentRamp) const {
    for (const auto& [displayID, shown] : lastShown) {
        // What cannot be read cannot be told unchanged.
        if (!shown || !currentRamp)
            return false;
        if (currentRamp(displayID) != shown)
            return false;
    }
    return true;
}

}  // namespace quorvane
