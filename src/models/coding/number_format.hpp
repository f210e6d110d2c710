#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// printf-style fixed-point formatting ("%.Nf") that never depends on the C
// locale: a full stop as decimal separator, no grouping, a minus sign for
// negative values (including negative zero: -0.0000).
std::string formatFixed(double value, int decimals);

// Plain decimal integers without grouping, as every user-facing text uses.
std::string formatDecimal(std::int64_t value);
std::string formatDecimal(std::uint64_t value);
inline std::string formatDecimal(int value) {
    return formatDecimal(static_cast<std::int64_t>(value));
}
inline std::string formatDecimal(unsigned value) {
    return formatDecimal(static_cast<std::uint64_t>(value));
}
inline std::string formatDecimal(long long value) {
    return formatDecimal(static_cast<std::int64_t>(value));
}
inline std::string formatDecimal(unsigned long long value) {
    return formatDecimal(static_cast<std::uint64_t>(value));
}

}  // namespace quorvane
