#include "models/coding/number_format.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace quorvane {

std::string formatFixed(double value, int decimals) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // std::to_chars is specified to ignore the locale, unlike snprintf.
    std::array<char, 400> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    // to_chars writes "-0.0000" for negative zero, matching "%.4f".
    return text;
}

std::string formatDecimal(std::int64_t value) {
    return std::to_string(value);
}

std::string formatDecimal(std::uint64_t value) {
    return std::to_string(value);
}

}  // namespace quorvane
