#include "platform/linux/edid.hpp"

#include <algorithm>
#include <array>

namespace quorvane {
namespace {

constexpr std::array<std::uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kFirstDescriptor = 54;
constexpr std::size_t kDescriptorSize = 18;
constexpr std::size_t kDescriptorCount = 4;
constexpr std::uint8_t kMonitorNameTag = 0xFC;

bool hasValidHeader(std::span<const std::uint8_t> block) {
    return std::equal(kHeader.begin(), kHeader.end(), block.begin());
}

bool hasValidChecksum(std::span<const std::uint8_t> block) {
    unsigned sum = 0;
    for (std::uint8_t byte : block) {
        sum += byte;
    }
    return sum % 256 == 0;
}

// Display descriptors start with a zero pixel clock and a zero byte; their
// tag is byte 3 and their text bytes 5-17, ended by a line feed and padded
// with spaces.
std::optional<std::string> readMonitorName(std::span<const std::uint8_t> block) {
    for (std::size_t index = 0; index < kDescriptorCount; ++index) {
        auto descriptor =
            block.subspan(kFirstDescriptor + index * kDescriptorSize, kDescriptorSize);
        bool isDisplayDescriptor = descriptor[0] == 0 && descriptor[1] == 0 && descriptor[2] == 0;
        if (!isDisplayDescriptor || descriptor[3] != kMonitorNameTag) {
            continue;
        }
        std::string text;
        for (std::uint8_t byte : descriptor.subspan(5)) {
            if (byte == 0x0A || byte == 0x00) {
                break;
            }
            // The text is meant to be printable ASCII; anything else is
            // dropped rather than shown as mojibake.
            if (byte >= 0x20 && byte <= 0x7E) {
                text.push_back(static_cast<char>(byte));
            }
        }
        auto first = text.find_first_not_of(' ');
        if (first == std::string::npos) {
            return std::nullopt;
        }
        auto last = text.find_last_not_of(' ');
        return text.substr(first, last - first + 1);
    }
    return std::nullopt;
}

// Each coordinate is ten bits: the high eight in bytes 27-34, the low two
// packed into bytes 25-26.
std::optional<EdidColorimetry> readColorimetry(std::span<const std::uint8_t> block) {
    auto coordinate = [&](std::size_t high, std::uint8_t lowByte, int shift) {
        unsigned value = (static_cast<unsigned>(block[high]) << 2) | ((lowByte >> shift) & 0x3);
        return value / 1024.0;
    };
    std::uint8_t redGreenLow = block[25];
    std::uint8_t blueWhiteLow = block[26];
    EdidColorimetry result{
        {coordinate(27, redGreenLow, 6), coordinate(28, redGreenLow, 4)},
        {coordinate(29, redGreenLow, 2), coordinate(30, redGreenLow, 0)},
        {coordinate(31, blueWhiteLow, 6), coordinate(32, blueWhiteLow, 4)},
        {coordinate(33, blueWhiteLow, 2), coordinate(34, blueWhiteLow, 0)},
    };
    for (const auto& point : {result.red, result.green, result.blue, result.white}) {
        if (point.x <= 0 || point.y <= 0) {
            return std::nullopt;
        }
    }
    return result;
}

}  // namespace

std::optional<Edid> Edid::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBlockSize) {
        return std::nullopt;
    }
    auto block = bytes.first(kBlockSize);
    if (!hasValidHeader(block) || !hasValidChecksum(block)) {
        return std::nullopt;
    }
    Edid edid;
    edid.vendorNumber = (static_cast<std::uint32_t>(block[8]) << 8) | block[9];
    edid.modelNumber = block[10] | (static_cast<std::uint32_t>(block[11]) << 8);
    edid.serialNumber = block[12] | (static_cast<std::uint32_t>(block[13]) << 8) |
                        (static_cast<std::uint32_t>(block[14]) << 16) |
                        (static_cast<std::uint32_t>(block[15]) << 24);
    edid.monitorName = readMonitorName(block);
    edid.colorimetry = readColorimetry(block);
    if (block[23] != 0xFF) {
        edid.gamma = (block[23] + 100) / 100.0;
    }
    return edid;
}

}  // namespace quorvane
