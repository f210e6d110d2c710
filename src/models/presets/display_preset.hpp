#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/color/color_adjustment.hpp"
#include "models/presets/item_kind.hpp"

namespace quorvane {

// A named colour state the user can put on any display with one tap.
struct DisplayPreset {
    using Kind = ItemKind;

    // A fixed word for built-in presets, a random UUID's text for custom ones.
    std::string id;
    std::string name;
    ColorAdjustment adjustment;
    Kind kind = Kind::custom;

    // The five presets that ship with the application, in the order the
    // windows list them: neutral, coding, night, movie, bright-room.
    static const std::vector<DisplayPreset>& builtIns();

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        object["name"] = name;
        object["adjustment"] = adjustment.toJson<J>();
        object["kind"] = encodeValue<J>(kind);
        return object;
    }

    // Every key is required: a stored preset with a missing or mistyped
    // field fails to decode.
    template <class J>
    static DisplayPreset fromJson(const J& object) {
        DisplayPreset preset;
        preset.id = requireKey<std::string>(object, "id");
        preset.name = requireKey<std::string>(object, "name");
        preset.adjustment = requireKey<ColorAdjustment>(object, "adjustment");
        preset.kind = requireKey<Kind>(object, "kind");
        return preset;
    }

    bool operator==(const DisplayPreset&) const = default;
};

}  // namespace quorvane
