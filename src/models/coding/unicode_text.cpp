#include "models/coding/unicode_text.hpp"

#include <utf8proc.h>

namespace quorvane {

namespace {

utf8proc_category_t category(char32_t scalar) {
    return utf8proc_category(static_cast<utf8proc_int32_t>(scalar));
}

}  // namespace

bool isUnicodeLetter(char32_t scalar) {
    switch (category(scalar)) {
        case UTF8PROC_CATEGORY_LU:
        case UTF8PROC_CATEGORY_LL:
        case UTF8PROC_CATEGORY_LT:
        case UTF8PROC_CATEGORY_LM:
        case UTF8PROC_CATEGORY_LO:
            return true;
        default:
            return false;
    }
}

bool isUnicodeMark(char32_t scalar) {
    switch (category(scalar)) {
        case UTF8PROC_CATEGORY_MN:
        case UTF8PROC_CATEGORY_MC:
        case UTF8PROC_CATEGORY_ME:
            return true;
        default:
            return false;
    }
}

bool isUnicodeDigit(char32_t scalar) {
    return category(scalar) == UTF8PROC_CATEGORY_ND;
}

bool isUnicodeNumber(char32_t scalar) {
    switch (category(scalar)) {
        case UTF8PROC_CATEGORY_ND:
        case UTF8PROC_CATEGORY_NL:
        case UTF8PROC_CATEGORY_NO:
            return true;
        default:
            return false;
    }
}

bool isUnicodeWhitespace(char32_t scalar) {
    switch (scalar) {
        case U'\t':
        case U'\n':
        case 0x0B:
        case 0x0C:
        case U'\r':
        case 0x85:
            return true;
        default:
            break;
    }
    switch (category(scalar)) {
        case UTF8PROC_CATEGORY_ZS:
        case UTF8PROC_CATEGORY_ZL:
        case UTF8PROC_CATEGORY_ZP:
            return true;
        default:
            return false;
    }
}

bool isUnicodeInvisibleControl(char32_t scalar) {
    switch (category(scalar)) {
        case UTF8PROC_CATEGORY_CC:
        case UTF8PROC_CATEGORY_CF:
        case UTF8PROC_CATEGORY_ZL:
        case UTF8PROC_CATEGORY_ZP:
            return true;
        default:
            return false;
    }
}

std::optional<Utf8Scalar> utf8ScalarAt(std::string_view text, std::size_t offset) {
    if (offset >= text.size())
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data() + offset);
    utf8proc_int32_t scalar = 0;
    const utf8proc_ssize_t used =
        utf8proc_iterate(bytes, static_cast<utf8proc_ssize_t>(text.size() - offset), &scalar);
    if (used <= 0)
        return std::nullopt;
    return Utf8Scalar{static_cast<char32_t>(scalar), static_cast<std::size_t>(used)};
}

std::vector<char32_t> utf8Scalars(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    utf8proc_ssize_t remaining = static_cast<utf8proc_ssize_t>(text.size());
    while (remaining > 0) {
        utf8proc_int32_t scalar = 0;
        utf8proc_ssize_t used = utf8proc_iterate(bytes, remaining, &scalar);
        if (used <= 0) {
            out.push_back(0xFFFD);
            used = 1;
        } else {
            out.push_back(static_cast<char32_t>(scalar));
        }
        bytes += used;
        remaining -= used;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t scalar) {
    utf8proc_uint8_t buffer[4];
    const auto length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(scalar), buffer);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

std::string utf8Encode(const std::vector<char32_t>& scalars) {
    std::string out;
    out.reserve(scalars.size());
    for (char32_t scalar : scalars)
        appendUtf8(out, scalar);
    return out;
}

std::string trimWhitespaceAndNewlines(std::string_view text) {
    const auto scalars = utf8Scalars(text);
    size_t begin = 0;
    size_t end = scalars.size();
    while (begin < end && isUnicodeWhitespace(scalars[begin]))
        ++begin;
    while (end > begin && isUnicodeWhitespace(scalars[end - 1]))
        --end;
    return utf8Encode(std::vector<char32_t>(scalars.begin() + static_cast<std::ptrdiff_t>(begin),
                                            scalars.begin() + static_cast<std::ptrdiff_t>(end)));
}

std::string lowercased(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t scalar : utf8Scalars(text)) {
        appendUtf8(out,
                   static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(scalar))));
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return lowercased(a) == lowercased(b);
}

}  // namespace quorvane
