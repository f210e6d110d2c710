#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/ddc/ddc_write_key.hpp"

namespace quorvane {

// Why a monitor write is made.
enum class DDCWriteRequestKind {
    sliderFinalValue,
    discreteAction,
    brightnessSync,
    emergencyRecovery
};

std::string_view caseName(DDCWriteRequestKind kind);
std::optional<DDCWriteRequestKind> parseCaseName(std::string_view text, DDCWriteRequestKind*);

// One write handed to the write queue.
struct DDCWriteRequest {
    std::string id;  // upper-case UUID text
    DDCWriteKey key;
    std::uint16_t rawValue = 0;
    DDCWriteRequestKind kind = DDCWriteRequestKind::sliderFinalValue;

    bool operator==(const DDCWriteRequest&) const = default;
};

}  // namespace quorvane
