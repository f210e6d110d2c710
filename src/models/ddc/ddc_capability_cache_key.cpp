#include "models/ddc/ddc_capability_cache_key.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "models/coding/number_format.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/display/display_identity.hpp"

namespace quorvane {
namespace {

std::string fingerprintName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char32_t scalar : utf8Scalars(name)) {
        if (isUnicodeLetter(scalar) || isUnicodeMark(scalar) || isUnicodeNumber(scalar)) {
            appendUtf8(out, scalar);
        } else {
            out += '-';
        }
    }
    return out;
}

// Drops the fraction; a size that is not a finite number, or does not fit,
// gives 0 or the nearest limit instead of undefined behaviour.
std::int64_t wholePoints(double value) {
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = 9.0e18;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::trunc(value));
}

}  // namespace

std::string DDCCapabilityCacheKey::connectionFingerprintFor(const DisplaySnapshot& display) {
    const bool reliableSerial = DisplayIdentity::of(display).hasReliableSerial;
    return "vendor-" + formatDecimal(display.vendorNumber) + "|model-" +
           formatDecimal(display.modelNumber) + "|serial-" + formatDecimal(display.serialNumber) +
           "|" + (display.isBuiltin ? "builtin" : "external") + "|" +
           (reliableSerial ? "reliable-serial" : "serial-missing") + "|name-" +
           fingerprintName(display.name) + "|bounds-" +
           formatDecimal(wholePoints(display.bounds.width)) + "x" +
           formatDecimal(wholePoints(display.bounds.height));
}

}  // namespace quorvane
