#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "models/hot_keys/hot_key_combination.hpp"

namespace quorvane {

// What a global hot key does when pressed.
struct GlobalHotKeyCommand {
    enum class Kind { scene, emergencyRecovery };

    Kind kind = Kind::emergencyRecovery;
    // The scene to apply; empty for the emergency recovery.
    std::string sceneID;

    static GlobalHotKeyCommand scene(std::string sceneID) {
        return {Kind::scene, std::move(sceneID)};
    }
    static GlobalHotKeyCommand emergencyRecovery() { return {Kind::emergencyRecovery, {}}; }

    bool operator==(const GlobalHotKeyCommand&) const = default;
};

// One hot key as the store hands it to the registrar; presses come back by `id`.
struct GlobalHotKeyBinding {
    // The id under which the emergency recovery key is registered; scene keys
    // use their scene binding's id.
    static constexpr std::string_view kEmergencyRecoveryID = "emergency-recovery";

    std::string id;
    GlobalHotKeyCommand command;
    // Only enabled bindings are registered.
    bool enabled = false;
    HotKeyCombination combination;

    bool operator==(const GlobalHotKeyBinding&) const = default;
};

}  // namespace quorvane
