#include "models/coding/byte_count_format.hpp"

#include <array>
#include <cmath>
#include <string_view>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

std::string withoutTrailingZeros(std::string text) {
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

}  // namespace

std::string formatFileByteCount(std::int64_t bytes) {
    if (bytes == 0)
        return "Zero KB";
    const std::uint64_t magnitude =
        bytes < 0 ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
    if (magnitude < 1000)
        return formatDecimal(bytes) + (magnitude == 1 ? " byte" : " bytes");

    static constexpr std::array<std::string_view, 6> kUnits = {"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    while (std::fabs(value) >= 1000.0 && unit + 1 < kUnits.size()) {
        value /= 1000.0;
        ++unit;
    }
    const int decimals = unit == 0 ? 0 : (unit == 1 ? 1 : 2);
    return withoutTrailingZeros(formatFixed(value, decimals)) + " " + std::string(kUnits[unit]);
}

}  // namespace quorvane
