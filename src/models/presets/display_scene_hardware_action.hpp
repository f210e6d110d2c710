#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// A monitor-side step stored with a scene. Applying a scene reports that such
// steps exist; it does not perform them.
struct DisplaySceneHardwareAction {
    enum class Kind { brightness, ddcControl, inputSource, displayMode };

    std::string id;
    std::optional<std::string> targetDisplayIdentityRawValue;
    Kind kind = Kind::brightness;
    // On the control's 0...1 scale.
    std::optional<double> normalizedValue;
    std::optional<std::uint8_t> vcpCodeRawValue;
    std::optional<std::uint16_t> rawValue;
    std::optional<std::string> modeID;
    std::optional<std::string> note;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        putOptional(object, "targetDisplayIdentityRawValue", targetDisplayIdentityRawValue);
        object["kind"] = encodeValue<J>(kind);
        putOptional(object, "normalizedValue", normalizedValue);
        putOptional(object, "vcpCodeRawValue", vcpCodeRawValue);
        putOptional(object, "rawValue", rawValue);
        putOptional(object, "modeID", modeID);
        putOptional(object, "note", note);
        return object;
    }

    template <class J>
    static DisplaySceneHardwareAction fromJson(const J& object) {
        DisplaySceneHardwareAction action;
        action.id = requireKey<std::string>(object, "id");
        action.targetDisplayIdentityRawValue =
            optionalKey<std::string>(object, "targetDisplayIdentityRawValue");
        action.kind = requireKey<Kind>(object, "kind");
        action.normalizedValue = optionalKey<double>(object, "normalizedValue");
        action.vcpCodeRawValue = optionalKey<std::uint8_t>(object, "vcpCodeRawValue");
        action.rawValue = optionalKey<std::uint16_t>(object, "rawValue");
        action.modeID = optionalKey<std::string>(object, "modeID");
        action.note = optionalKey<std::string>(object, "note");
        return action;
    }

    bool operator==(const DisplaySceneHardwareAction&) const = default;
};

std::string_view caseName(DisplaySceneHardwareAction::Kind kind);
std::optional<DisplaySceneHardwareAction::Kind> parseCaseName(std::string_view text,
                                                              DisplaySceneHardwareAction::Kind*);

}  // namespace quorvane
