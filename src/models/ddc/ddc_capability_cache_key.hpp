#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "models/coding/json_coding.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// Which monitor, on which connection.
struct DDCCapabilityCacheKey {
    std::string displayIdentityRawValue;
    std::string connectionFingerprint;

    bool operator==(const DDCCapabilityCacheKey&) const = default;
    auto operator<=>(const DDCCapabilityCacheKey&) const = default;

    // "vendor-7|model-9|serial-0|external|serial-missing|name-Desk-1|bounds-800x600":
    // the numbers, built-in flag, serial reliability, the name with every
    // scalar other than letters, marks and numbers turned into "-", and the
    // bounds size with fractions dropped. Moving a display leaves it alone.
    static std::string connectionFingerprintFor(const DisplaySnapshot& display);

    template <class J>
    J toJson() const {
        J object = J::object();
        object["displayIdentityRawValue"] = displayIdentityRawValue;
        object["connectionFingerprint"] = connectionFingerprint;
        return object;
    }

    template <class J>
    static DDCCapabilityCacheKey fromJson(const J& object) {
        return {requireKey<std::string>(object, "displayIdentityRawValue"),
                requireKey<std::string>(object, "connectionFingerprint")};
    }
};

}  // namespace quorvane

template <>
struct std::hash<quorvane::DDCCapabilityCacheKey> {
    std::size_t operator()(const quorvane::DDCCapabilityCacheKey& key) const {
        const std::size_t a = std::hash<std::string>{}(key.displayIdentityRawValue);
        return a ^ (std::hash<std::string>{}(key.connectionFingerprint) + 0x9e3779b97f4a7c15ULL +
                    (a << 6) + (a >> 2));
    }
};
