#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// How usable a capability, a health-check step or a whole display is.
enum class QuorvaneSupportStatus {
    available,         // works now
    needsCheck,        // hidden until the monitor has answered a probe
    checking,          // a check is running
    limited,           // partly usable
    unavailable,       // not usable on this connection
    explicitAdvanced,  // shows only when the user opens it
    informational,     // information only, nothing to do
};

inline constexpr std::array kQuorvaneSupportStatusAllCases = {
    QuorvaneSupportStatus::available,     QuorvaneSupportStatus::needsCheck,
    QuorvaneSupportStatus::checking,      QuorvaneSupportStatus::limited,
    QuorvaneSupportStatus::unavailable,   QuorvaneSupportStatus::explicitAdvanced,
    QuorvaneSupportStatus::informational,
};

std::string_view caseName(QuorvaneSupportStatus status);
std::optional<QuorvaneSupportStatus> parseCaseName(std::string_view text, QuorvaneSupportStatus*);

}  // namespace quorvane
