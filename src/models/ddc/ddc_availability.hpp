#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// Whether a display can be reached over DDC/CI, without sending anything.
struct DDCAvailability {
    std::uint32_t displayID = 0;
    bool isAvailable = false;
    std::uint32_t busCount = 0;                // 0 when not available
    std::optional<std::string> failureReason;  // the controller's message when not available

    bool operator==(const DDCAvailability&) const = default;
};

}  // namespace quorvane
