#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Unicode scalar classification from utf8proc's tables (not ASCII classes).
bool isUnicodeLetter(char32_t scalar);      // L*
bool isUnicodeMark(char32_t scalar);        // M*
bool isUnicodeDigit(char32_t scalar);       // Nd (decimal digits)
bool isUnicodeNumber(char32_t scalar);      // N*
bool isUnicodeWhitespace(char32_t scalar);  // Zs/Zl/Zp and the ASCII/Unicode white space controls
// Controls (Cc), format characters (Cf: direction marks, zero-width space,
// soft hyphen, byte order mark) and the line and paragraph separators
// (Zl/Zp): none of them shows as a glyph, and each can change how the text
// around it shows.
bool isUnicodeInvisibleControl(char32_t scalar);

// One scalar of UTF-8 text and the number of bytes that spell it.
struct Utf8Scalar {
    char32_t value = 0;
    std::size_t length = 0;

    bool operator==(const Utf8Scalar&) const = default;
};
// The scalar that starts at byte `offset`; none where no valid sequence
// starts there (a stray or cut byte, or the end of the text).
std::optional<Utf8Scalar> utf8ScalarAt(std::string_view text, std::size_t offset);

// Decodes UTF-8 into scalars; invalid sequences become U+FFFD, one per bad byte.
std::vector<char32_t> utf8Scalars(std::string_view text);
// Encodes scalars back into UTF-8.
std::string utf8Encode(const std::vector<char32_t>& scalars);
void appendUtf8(std::string& out, char32_t scalar);

// Removes white space and line breaks (Unicode-aware) from both ends.
std::string trimWhitespaceAndNewlines(std::string_view text);

// Lower-cases per Unicode scalar (simple case mapping), for case-insensitive
// comparisons.
std::string lowercased(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quorvane
