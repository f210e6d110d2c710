#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/presets/item_kind.hpp"

namespace quorvane {

// A named set of monitors, addressed by identity raw value so that it
// survives reconnects. Limits brightness sync and serves as a scene target.
struct DisplayGroup {
    using Kind = ItemKind;

    std::string id;
    std::string name;
    Kind kind = Kind::custom;
    // In the user's order; no empty string and no repeats after decoding.
    std::vector<std::string> displayIdentityRawValues;

    // The connected displays that belong to the group, in the group's order;
    // two connected displays sharing one identity come lower display ID first.
    std::vector<DisplaySnapshot> visibleMembers(const std::vector<DisplaySnapshot>& displays) const;

    // Skips empty strings and later copies, keeping first-seen order.
    static std::vector<std::string> uniqueIdentityRawValues(const std::vector<std::string>& values);

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        object["name"] = name;
        object["kind"] = encodeValue<J>(kind);
        object["displayIdentityRawValues"] = encodeValue<J>(displayIdentityRawValues);
        return object;
    }

    // `id` and `name` are required; a missing kind means custom and a missing
    // member list means none; a value of the wrong type fails.
    template <class J>
    static DisplayGroup fromJson(const J& object) {
        DisplayGroup group;
        group.id = requireKey<std::string>(object, "id");
        group.name = requireKey<std::string>(object, "name");
        group.kind = keyOr<Kind>(object, "kind", Kind::custom);
        group.displayIdentityRawValues = uniqueIdentityRawValues(
            keyOr<std::vector<std::string>>(object, "displayIdentityRawValues", {}));
        return group;
    }

    bool operator==(const DisplayGroup&) const = default;
};

}  // namespace quorvane
