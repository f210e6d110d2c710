#pragma once

#include <string>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/hot_keys/hot_key_combination.hpp"
#include "models/presets/display_scene.hpp"

namespace quorvane {

// A global hot key that applies a scene.
struct SceneHotKeyBinding {
    // "scene-" and the scene id for the default bindings.
    std::string id;
    std::string sceneID;
    bool enabled = false;
    HotKeyCombination combination;

    // Ctrl+Alt+Super with 1, 2, 3 ... for the built-in scenes in their order,
    // at most nine, all enabled.
    static std::vector<SceneHotKeyBinding> defaultBindings();
    // The same rule over any ordered scene list.
    static std::vector<SceneHotKeyBinding> defaultBindings(const std::vector<DisplayScene>& scenes);

    // Drops bindings with a blank id and later copies of an id (first wins);
    // sorts each kept combination's modifiers and removes repeats.
    static std::vector<SceneHotKeyBinding> normalized(
        const std::vector<SceneHotKeyBinding>& bindings);

    // One binding per default id, first and in default order (the saved one
    // when there is one), then the saved bindings for other scenes in saved order.
    static std::vector<SceneHotKeyBinding> mergedWithDefaultBindings(
        const std::vector<SceneHotKeyBinding>& bindings);

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        object["sceneID"] = sceneID;
        object["enabled"] = enabled;
        object["combination"] = combination.toJson<J>();
        return object;
    }

    template <class J>
    static SceneHotKeyBinding fromJson(const J& object) {
        SceneHotKeyBinding binding;
        binding.id = requireKey<std::string>(object, "id");
        binding.sceneID = requireKey<std::string>(object, "sceneID");
        binding.enabled = requireKey<bool>(object, "enabled");
        binding.combination = requireKey<HotKeyCombination>(object, "combination");
        return binding;
    }

    bool operator==(const SceneHotKeyBinding&) const = default;
};

}  // namespace quorvane
