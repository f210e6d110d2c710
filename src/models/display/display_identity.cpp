#include "models/display/display_identity.hpp"

#include <functional>

#include "models/coding/number_format.hpp"
#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

// The kept set matches the "alphanumerics" character set of stored raw values
// written elsewhere: general categories L*, M* and N* (all numbers, not only
// decimal digits), so "²" or "Ⅻ" in a name survive unchanged.
bool isKept(char32_t scalar) {
    return scalar == U'-' || scalar == U'_' || isUnicodeLetter(scalar) || isUnicodeMark(scalar) ||
           isUnicodeNumber(scalar);
}

}  // namespace

std::string DisplayIdentity::sanitize(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char32_t scalar : utf8Scalars(name)) {
        if (isKept(scalar)) {
            appendUtf8(out, scalar);
        } else {
            out += '-';
        }
    }
    return out;
}

DisplayIdentity DisplayIdentity::of(const DisplaySnapshot& snapshot) {
    std::string raw = "vendor-" + formatDecimal(snapshot.vendorNumber) + "-model-" +
                      formatDecimal(snapshot.modelNumber) + "-";
    if (snapshot.serialNumber != 0) {
        raw += "serial-" + formatDecimal(snapshot.serialNumber);
    } else {
        raw += "serial-missing-name-" + sanitize(snapshot.name);
    }
    raw += snapshot.isBuiltin ? "-builtin" : "-external";
    return {std::move(raw), snapshot.name, snapshot.serialNumber != 0};
}

std::size_t hashValue(const DisplayIdentity& identity) {
    std::size_t seed = std::hash<std::string>{}(identity.rawValue);
    seed ^= std::hash<std::string>{}(identity.displayName) + 0x9e3779b97f4a7c15ULL + (seed << 6) +
            (seed >> 2);
    seed ^= std::hash<bool>{}(identity.hasReliableSerial) + 0x9e3779b97f4a7c15ULL + (seed << 6) +
            (seed >> 2);
    return seed;
}

}  // namespace quorvane
