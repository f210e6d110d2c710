#pragma once

#include <cstdint>
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
