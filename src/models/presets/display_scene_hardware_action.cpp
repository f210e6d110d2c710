#include "models/presets/display_scene_hardware_action.hpp"

#include <array>

namespace quorvane {

namespace {

using Kind = DisplaySceneHardwareAction::Kind;

constexpr std::array<Kind, 4> kKinds = {Kind::brightness, Kind::ddcControl, Kind::inputSource,
                                        Kind::displayMode};

}  // namespace

std::string_view caseName(DisplaySceneHardwareAction::Kind kind) {
    switch (kind) {
        case Kind::brightness:
            return "brightness";
        case Kind::ddcControl:
            return "ddcControl";
        case Kind::inputSource:
            return "inputSource";
        case Kind::displayMode:
            return "displayMode";
    }
    return "brightness";
}

std::optional<DisplaySceneHardwareAction::Kind> parseCaseName(std::string_view text,
                                                              DisplaySceneHardwareAction::Kind*) {
    for (Kind kind : kKinds) {
        if (caseName(kind) == text)
            return kind;
    }
    return std::nullopt;
}

}  // namespace quorvane
