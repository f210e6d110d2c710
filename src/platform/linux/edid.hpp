#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorvane {

// A CIE 1931 xy chromaticity coordinate.
struct EdidChromaticity {
    double x = 0;
    double y = 0;

    bool operator==(const EdidChromaticity&) const = default;
};

// The colour characteristics a monitor declares in its base block.
struct EdidColorimetry {
    EdidChromaticity red;
    EdidChromaticity green;
    EdidChromaticity blue;
    EdidChromaticity white;

    bool operator==(const EdidColorimetry&) const = default;
};

// What Quorvane reads from a monitor's EDID base block. The three numbers
// have the shape other desktop platforms report, so identity keys made from
// them agree with theirs: the manufacturer ID as the big-endian word of bytes
// 8-9, the product code as the little-endian word of bytes 10-11 and the
// serial number as the little-endian double word of bytes 12-15.
struct Edid {
    std::uint32_t vendorNumber = 0;
    std::uint32_t modelNumber = 0;
    // 0 when the monitor reports none.
    std::uint32_t serialNumber = 0;
    // The monitor-name descriptor's text; absent when there is none or it is blank.
    std::optional<std::string> monitorName;
    // Absent when any coordinate is 0 (not filled in by the maker).
    std::optional<EdidColorimetry> colorimetry;
    // Display transfer gamma; absent when the block leaves it to an extension.
    std::optional<double> gamma;

    bool operator==(const Edid&) const = default;

    static constexpr std::size_t kBlockSize = 128;

    // Reads the base block. Fewer than 128 bytes, a wrong header or a wrong
    // checksum give none: a damaged block would give wrong identity numbers,
    // and settings stored under them would follow the wrong monitor.
    static std::optional<Edid> parse(std::span<const std::uint8_t> bytes);
};

}  // namespace quorvane
