#include "services/automation/quorvane_automation_url_coordinator.hpp"

#include "services/automation/quorvane_automation_url_parser.hpp"

namespace quorvane {

QuorvaneAutomationURLDispatchResult QuorvaneAutomationURLCoordinator::dispatch(std::string_view url,
                                                                               MonotonicTime now,
                                                                               Date wallNow) const {
    const std::string signature(url);
    if (lastSignature == signature && lastHandledAt &&
        now - *lastHandledAt < duplicateSuppressionWindow) {
        return {true, std::nullopt};
    }
    auto command = QuorvaneAutomationURLParser::command(url);
    return {false, QuorvaneAutomationURLDispatch{std::move(command), signature, wallNow, now}};
}

void QuorvaneAutomationURLCoordinator::recordHandled(
    const QuorvaneAutomationURLDispatch& dispatch) {
    lastSignature = dispatch.signature;
    lastHandledAt = dispatch.receivedAt;
}

void QuorvaneAutomationURLCoordinator::forgetHandled() {
    lastSignature.reset();
    lastHandledAt.reset();
}

}  // namespace quorvane
