#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

// One control of one display: requests with the same key replace each other
// while they wait.
struct DDCWriteKey {
    std::uint32_t displayID = 0;
    DDCVCPCode code = DDCVCPCode::brightness;

    bool operator==(const DDCWriteKey&) const = default;
    auto operator<=>(const DDCWriteKey&) const = default;
};

}  // namespace quorvane

template <>
struct std::hash<quorvane::DDCWriteKey> {
    std::size_t operator()(const quorvane::DDCWriteKey& key) const {
        return std::hash<std::uint64_t>{}(static_cast<std::uint64_t>(key.displayID) << 8 |
                                          quorvane::rawValue(key.code));
    }
};
