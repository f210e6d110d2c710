#include "models/coding/uuid_text.hpp"

#include <array>
#include <cstdint>
#include <cstdio>
#include <random>

namespace quorvane {

std::string newUuidText() {
    // A fresh random_device draw per UUID: no shared generator state.
    std::random_device device;
    std::array<std::uint8_t, 16> bytes{};
    for (size_t i = 0; i < bytes.size(); i += 4) {
        const std::uint32_t word = device();
        for (size_t j = 0; j < 4; ++j)
            bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                  bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

}  // namespace quorvane
