#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane {

// The monitor controls reached over DDC/CI, by VCP code. Sorting codes means
// comparing raw values, which is also declaration order.
enum class DDCVCPCode : std::uint8_t {
    brightness = 0x10,
    contrast = 0x12,
    redGain = 0x16,
    greenGain = 0x18,
    blueGain = 0x1A,
    inputSource = 0x60,
    audioVolume = 0x62,
};

inline constexpr std::array<DDCVCPCode, 7> kAllDDCVCPCodes = {
    DDCVCPCode::brightness, DDCVCPCode::contrast,    DDCVCPCode::redGain,     DDCVCPCode::greenGain,
    DDCVCPCode::blueGain,   DDCVCPCode::inputSource, DDCVCPCode::audioVolume,
};

// The order a probe reads them in: the input source last, after the volume.
inline constexpr std::array<DDCVCPCode, 7> kDDCVCPProbeOrder = {
    DDCVCPCode::brightness, DDCVCPCode::contrast,    DDCVCPCode::redGain,     DDCVCPCode::greenGain,
    DDCVCPCode::blueGain,   DDCVCPCode::audioVolume, DDCVCPCode::inputSource,
};

inline constexpr std::uint8_t rawValue(DDCVCPCode code) {
    return static_cast<std::uint8_t>(code);
}

// None for a code that is not one of the seven.
std::optional<DDCVCPCode> ddcVCPCodeFromRaw(std::uint8_t raw);

// The Korean name of the control in summaries, statuses and errors.
std::string_view label(DDCVCPCode code);

std::string_view caseName(DDCVCPCode code);
std::optional<DDCVCPCode> parseCaseName(std::string_view text, DDCVCPCode*);

}  // namespace quorvane
