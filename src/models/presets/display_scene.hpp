#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/color/color_adjustment.hpp"
#include "models/presets/display_scene_hardware_action.hpp"
#include "models/presets/item_kind.hpp"

namespace quorvane {

// A work mode: one colour state per monitor identity, an optional fallback
// for every other monitor, and monitor-side steps kept with it.
struct DisplayScene {
    using Kind = ItemKind;

    std::string id;
    std::string name;
    Kind kind = Kind::custom;
    // For displays without an entry below; absent means such displays are
    // not covered by the scene.
    std::optional<ColorAdjustment> fallbackAdjustment;
    // By identity raw value.
    std::map<std::string, ColorAdjustment> softwareAdjustmentsByDisplayIdentity;
    std::vector<DisplaySceneHardwareAction> hardwareActions;

    // The five scenes that ship with the application: work, night, design,
    // meeting, movie. Each covers every display through its fallback. The
    // default scene hot keys follow this order.
    static const std::vector<DisplayScene>& builtIns();

    // The entry for the identity, else the fallback, else none.
    std::optional<ColorAdjustment> adjustment(std::string_view identityRawValue) const;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        object["name"] = name;
        object["kind"] = encodeValue<J>(kind);
        putOptional(object, "fallbackAdjustment", fallbackAdjustment);
        object["softwareAdjustmentsByDisplayIdentity"] =
            encodeValue<J>(softwareAdjustmentsByDisplayIdentity);
        object["hardwareActions"] = encodeValue<J>(hardwareActions);
        return object;
    }

    // Every non-optional key is required.
    template <class J>
    static DisplayScene fromJson(const J& object) {
        DisplayScene scene;
        scene.id = requireKey<std::string>(object, "id");
        scene.name = requireKey<std::string>(object, "name");
        scene.kind = requireKey<Kind>(object, "kind");
        scene.fallbackAdjustment = optionalKey<ColorAdjustment>(object, "fallbackAdjustment");
        scene.softwareAdjustmentsByDisplayIdentity =
            requireKey<std::map<std::string, ColorAdjustment>>(
                object, "softwareAdjustmentsByDisplayIdentity");
        scene.hardwareActions =
            requireKey<std::vector<DisplaySceneHardwareAction>>(object, "hardwareActions");
        return scene;
    }

    bool operator==(const DisplayScene&) const = default;
};

}  // namespace quorvane
