#include "cli/cli_text.hpp"

#include <array>

#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};

std::string hexDigits(char32_t value, int count) {
    std::string digits(static_cast<std::size_t>(count), '0');
    for (int i = count - 1; i >= 0; --i, value >>= 4)
        digits[static_cast<std::size_t>(i)] = kHexDigits[value & 0x0F];
    return digits;
}

// "\x1b" for an ASCII control, "\u202e" within the basic plane, "\U000e0041"
// beyond it.
std::string escaped(char32_t scalar) {
    if (scalar < 0x80)
        return "\\x" + hexDigits(scalar, 2);
    if (scalar <= 0xFFFF)
        return "\\u" + hexDigits(scalar, 4);
    return "\\U" + hexDigits(scalar, 8);
}

// C1 controls and the bidirectional embeddings, overrides and isolates: what
// reorders or drives a terminal from inside a JSON string.
bool actsOnATerminal(char32_t scalar) {
    return (scalar >= 0x80 && scalar <= 0x9F) || (scalar >= 0x202A && scalar <= 0x202E) ||
           (scalar >= 0x2066 && scalar <= 0x2069);
}

}  // namespace

std::string_view onOff(bool value) {
    return value ? "on" : "off";
}

std::string visibleControlCharacters(std::string_view text, bool keepLineFeeds) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto scalar = utf8ScalarAt(text, i);
        // A byte that starts no UTF-8 sequence could still be a control
        // to the terminal (0x9b is CSI to one in 8-bit mode).
        if (!scalar) {
            out += "\\x" + hexDigits(static_cast<unsigned char>(text[i++]), 2);
            continue;
        }
        if (scalar->value == U'\n' && keepLineFeeds)
            out += '\n';
        else if (scalar->value == U'\\')
            out += "\\\\";
        else if (isUnicodeInvisibleControl(scalar->value))
            out += escaped(scalar->value);
        else
            out.append(text.substr(i, scalar->length));
        i += scalar->length;
    }
    return out;
}

std::string jsonWithTerminalControlsEscaped(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    std::size_t i = 0;
    while (i < json.size()) {
        const auto scalar = utf8ScalarAt(json, i);
        // All of them lie in the basic plane: "\u" and four digits is
        // their JSON spelling.
        if (scalar && actsOnATerminal(scalar->value)) {
            out += "\\u" + hexDigits(scalar->value, 4);
            i += scalar->length;
            continue;
        }
        const std::size_t length = scalar ? scalar->length : 1;
        out.append(json.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace quorvane
