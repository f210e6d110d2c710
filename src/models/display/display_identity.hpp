#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "models/coding/json_coding.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// The stable key under which everything per monitor is stored. Display IDs
// change on reconnect; the raw value is derived from what the monitor reports
// and, without a serial number, from its name. The raw value is written into
// stored records, so its format must never change.
struct DisplayIdentity {
    std::string rawValue;
    std::string displayName;
    bool hasReliableSerial = false;

    bool operator==(const DisplayIdentity&) const = default;

    // "vendor-<v>-model-<m>-serial-<s>-<external|builtin>", or with serial 0
    // "vendor-<v>-model-<m>-serial-missing-name-<sanitised name>-<...>".
    static DisplayIdentity of(const DisplaySnapshot& snapshot);

    // Keeps Unicode letters, marks and numbers, "-" and "_"; every other
    // scalar becomes one "-". Nothing is collapsed or trimmed.
    static std::string sanitize(std::string_view name);

    const std::string& description() const { return rawValue; }

    template <class J>
    J toJson() const {
        J object = J::object();
        object["rawValue"] = rawValue;
        object["displayName"] = displayName;
        object["hasReliableSerial"] = hasReliableSerial;
        return object;
    }

    template <class J>
    static DisplayIdentity fromJson(const J& object) {
        DisplayIdentity identity;
        identity.rawValue = requireKey<std::string>(object, "rawValue");
        identity.displayName = requireKey<std::string>(object, "displayName");
        identity.hasReliableSerial = requireKey<bool>(object, "hasReliableSerial");
        return identity;
    }
};

std::size_t hashValue(const DisplayIdentity& identity);

}  // namespace quorvane

template <>
struct std::hash<quorvane::DisplayIdentity> {
    std::size_t operator()(const quorvane::DisplayIdentity& identity) const {
        return quorvane::hashValue(identity);
    }
};
