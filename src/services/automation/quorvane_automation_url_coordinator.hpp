#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/color/gamma_ramp.hpp"
#include "models/display/display_snapshot.hpp"
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

// What a handled URL left on the screen: each display it wrote, with the
// ramp read back right after (none when it could not be read).
using ShownRamps = std::map<DisplayID, std::optional<GammaRamp>>;

// Ignores the same URL arriving again within a short window of a handled one,
// as long as nothing has changed what it did: a repeat is a copy only while
// every display the handled URL wrote still shows the ramp it left there.
// Anything else (another program wrote the ramps, even one killed before it
// saved, or a ramp cannot be read) makes the repeat a new request.
//
// The window is measured on the monotonic clock: a wall clock set back would
// otherwise make every repeat look "recent" and suppress it for as long as the
// clock was moved.
struct QuorvaneAutomationURLCoordinator {
    // Reads a display's ramp as it is now; none when it cannot be read.
    using RampReader = std::function<std::optional<GammaRamp>(DisplayID)>;

    std::optional<std::string> lastSignature;
    std::optional<MonotonicTime> lastHandledAt;
    ShownRamps lastShown;
    Duration duplicateSuppressionWindow = seconds(0.5);

    // Throws QuorvaneAutomationURLError when the URL does not parse.
    // `currentRamp` is asked only for a repeat inside the window.
    QuorvaneAutomationURLDispatchResult dispatch(std::string_view url, MonotonicTime now,
                                                 Date wallNow,
                                                 const RampReader& currentRamp = {}) const;
    // `shown`: what the dispatch's command left on the screen.
    void recordHandled(const QuorvaneAutomationURLDispatch& dispatch, ShownRamps shown = {});
    // The next URL is carried out whatever came before it: used when the
    // record a handled URL changed has been changed again elsewhere, so a
    // repeat of it is a new request rather than a copy.
    void forgetHandled();

    bool operator==(const QuorvaneAutomationURLCoordinator&) const = default;

  private:
    bool screenStillShowsLastHandled(const RampReader& currentRamp) const;
};

}  // namespace quorvane
