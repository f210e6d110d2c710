#pragma once

#include <optional>
#include <string_view>

namespace quorvane {

// How surely a connected display is recognised among the displays visible now.
enum class DisplayIdentityConfidence {
    reliable,       // reports a serial number; no other visible display shares its raw value
    serialMissing,  // reports no serial number; no other visible display shares its raw value
    ambiguous,      // another visible display has the same identity raw value
};

std::string_view caseName(DisplayIdentityConfidence confidence);
std::optional<DisplayIdentityConfidence> parseCaseName(std::string_view text,
                                                       DisplayIdentityConfidence*);

// The Korean sentence that explains the confidence to the user.
std::string_view confidenceReason(DisplayIdentityConfidence confidence);

}  // namespace quorvane
