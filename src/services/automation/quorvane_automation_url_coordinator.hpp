#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "services/automation/quorvane_automation_command.hpp"

namespace quorvane {

struct QuorvaneAutomationURLDispatch {
    QuorvaneAutomationCommand command;
    std::string signature;     // the URL exactly as received
    Date handledAt;            // when it arrived, for display
    MonotonicTime receivedAt;  // when it arrived, for the duplicate window

    bool operator==(const QuorvaneAutomationURLDispatch&) const = default;
};

struct QuorvaneAutomationURLDispatchResult {
    bool isDuplicate = false;
    std::optional<QuorvaneAutomationURLDispatch> dispatch;  // set unless a duplicate

    bool operator==(const QuorvaneAutomationURLDispatchResult&) const = default;
};

// Ignores the same URL arriving again within a short window of a handled one.
// The window is measured on the monotonic clock: a wall clock set back would
// otherwise make every repeat look "recent" and suppress it for as long as the
// clock was moved.
struct QuorvaneAutomationURLCoordinator {
    std::optional<std::string> lastSignature;
    std::optional<MonotonicTime> lastHandledAt;
    Duration duplicateSuppressionWindow = seconds(0.5);

    // Throws QuorvaneAutomationURLError when the URL does not parse.
    QuorvaneAutomationURLDispatchResult dispatch(std::string_view url, MonotonicTime now,
                                                 Date wallNow) const;
    void recordHandled(const QuorvaneAutomationURLDispatch& dispatch);
    // The next URL is carried out whatever came before it: used when the
    // record a handled URL changed has been changed again elsewhere, so a
    // repeat of it is a new request rather than a copy.
    void forgetHandled();

    bool operator==(const QuorvaneAutomationURLCoordinator&) const = default;
};

}  // namespace quorvane
