#include "services/diagnostics/regular_expression.hpp"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <stdexcept>

#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

std::string errorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (length < 0)
        return "PCRE2 error " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

// PCRE2 refuses malformed UTF-8 in UTF mode; texts reaching the report may
// come from hardware, so they are repaired rather than rejected.
std::string repairedUtf8(std::string_view text) {
    return utf8Encode(utf8Scalars(text));
}

PCRE2_SPTR codeUnits(std::string_view text) {
    return reinterpret_cast<PCRE2_SPTR>(text.data());
}

}  // namespace

void RegularExpression::CodeDeleter::operator()(pcre2_real_code_8* code) const {
    pcre2_code_free(code);
}

RegularExpression::RegularExpression(std::string_view pattern) {
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_.reset(pcre2_compile(codeUnits(pattern), pattern.size(), PCRE2_UTF | PCRE2_UCP, &errorCode,
                              &errorOffset, nullptr));
    if (!code_) {
        throw std::invalid_argument("pattern '" + std::string(pattern) + "' at " +
                                    std::to_string(errorOffset) + ": " + errorText(errorCode));
    }
}

std::string RegularExpression::replacingMatches(std::string_view subject,
                                                std::string_view replacement) const {
    const std::string input = repairedUtf8(subject);
    const uint32_t options = PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH;
    std::string output(input.size() + input.size() / 2 + 64, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = output.size();
        const int result =
            pcre2_substitute(code_.get(), codeUnits(input), input.size(), 0, options, nullptr,
                             nullptr, codeUnits(replacement), replacement.size(),
                             reinterpret_cast<PCRE2_UCHAR*>(output.data()), &length);
        if (result >= 0) {
            output.resize(length);
            return output;
        }
        if (result != PCRE2_ERROR_NOMEMORY)
            throw std::runtime_error("regular expression replacement failed: " + errorText(result));
        // With OVERFLOW_LENGTH, `length` now holds the size needed.
        output.assign(length, '\0');
    }
    throw std::runtime_error("regular expression replacement did not fit its buffer");
}

std::string RegularExpression::escapedPattern(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool asciiAlphanumeric = (byte >= '0' && byte <= '9') ||
                                       (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
        // Bytes of multi-byte scalars are never special; escaping them would
        // split a scalar.
        if (!asciiAlphanumeric && byte < 0x80)
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

}  // namespace quorvane
