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

unsigned char byteAt(std::string_view text, std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

// The bidirectional embeddings, overrides and isolates (U+202A...U+202E,
// U+2066...U+2069): UTF-8 0xE2 0x80 0xAA...0xAE and 0xE2 0x81 0xA6...0xA9.
// A right-to-left override shows the rest of a line reversed, so a name
// could pass for another one.
bool isBidiControlAt(std::string_view text, std::size_t i) {
    if (byteAt(text, i) != 0xE2)
        return false;
    const unsigned char second = byteAt(text, i + 1);
    const unsigned char third = byteAt(text, i + 2);
    return (second == 0x80 && third >= 0xAA && third <= 0xAE) ||
           (second == 0x81 && third >= 0xA6 && third <= 0xA9);
}

// "\u202e" for the three bytes of a bidirectional control at `i`.
std::string bidiControlEscape(std::string_view text, std::size_t i) {
    const unsigned codePoint = (0x0Fu & byteAt(text, i)) << 12 |
                               (0x3Fu & byteAt(text, i + 1)) << 6 | (0x3Fu & byteAt(text, i + 2));
    return "\\u" + hexByte(static_cast<unsigned char>(codePoint >> 8)) +
           hexByte(static_cast<unsigned char>(codePoint & 0xFF));
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
        } else if (isBidiControlAt(text, i)) {
            out += bidiControlEscape(text, i);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace quorvane
