#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The input-source values of VCP code 0x60 that the program names.
enum class DDCInputSource : std::uint16_t {
    vga1 = 1,
    dvi1 = 3,
    displayPort1 = 15,
    displayPort2 = 16,
    hdmi1 = 17,
    hdmi2 = 18,
    usbC = 27,
};

inline constexpr std::array<DDCInputSource, 7> kAllDDCInputSources = {
    DDCInputSource::vga1,         DDCInputSource::dvi1,  DDCInputSource::displayPort1,
    DDCInputSource::displayPort2, DDCInputSource::hdmi1, DDCInputSource::hdmi2,
    DDCInputSource::usbC,
};

inline constexpr std::uint16_t rawValue(DDCInputSource source) {
    return static_cast<std::uint16_t>(source);
}

std::optional<DDCInputSource> ddcInputSourceFromRaw(std::uint16_t raw);
std::string_view label(DDCInputSource source);
// The label of a known source, else "값 " and the number ("값 4").
std::string ddcInputSourceLabel(std::uint16_t raw);

std::string_view caseName(DDCInputSource source);
std::optional<DDCInputSource> parseCaseName(std::string_view text, DDCInputSource*);

}  // namespace quorvane
