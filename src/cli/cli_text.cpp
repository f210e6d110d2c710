#include "cli/cli_text.hpp"

#include <array>

namespace quorvane {

namespace {

constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
// UTF-8 spells U+0080...U+009F as 0xC2 followed by 0x80...0x9F.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

std::string hexByte(unsigned char byte) {
    return {kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
}

}  // namespace

std::string_view onOff(bool value) {
    return value ? "on" : "off";
}

std::string visibleControlCharacters(std::string_view text, bool keepLineFeeds) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n' && keepLineFeeds) {
            out += '\n';
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x" + hexByte(byte);
        } else if (byte == kC1Lead && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= kC1First &&
                   static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
            out += "\\u00" + hexByte(static_cast<unsigned char>(text[++i]));
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace quorvane
