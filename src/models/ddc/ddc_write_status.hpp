#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/ddc/ddc_write_key.hpp"

namespace quorvane {

enum class DDCWriteStatusPhase { pending, succeeded, failed };

std::string_view caseName(DDCWriteStatusPhase phase);
std::optional<DDCWriteStatusPhase> parseCaseName(std::string_view text, DDCWriteStatusPhase*);

// What the windows see of the newest write per control.
struct DDCWriteStatus {
    std::string requestID;
    DDCWriteKey key;
    DDCWriteStatusPhase phase = DDCWriteStatusPhase::pending;
    std::uint16_t requestedRawValue = 0;
    std::optional<std::string> message;

    bool operator==(const DDCWriteStatus&) const = default;
};

}  // namespace quorvane
