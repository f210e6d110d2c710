#include "models/hot_keys/scene_hot_key_binding.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

// The recorded key codes of the main keyboard's digits 1 to 9.
constexpr std::array<std::uint32_t, 9> kDigitKeyCodes = {18, 19, 20, 21, 23, 22, 26, 28, 25};

const SceneHotKeyBinding* findByID(const std::vector<SceneHotKeyBinding>& bindings,
                                   const std::string& id) {
    auto found = std::find_if(bindings.begin(), bindings.end(),
                              [&](const SceneHotKeyBinding& b) { return b.id == id; });
    return found == bindings.end() ? nullptr : &*found;
}

}  // namespace

std::vector<SceneHotKeyBinding> SceneHotKeyBinding::defaultBindings() {
    return defaultBindings(DisplayScene::builtIns());
}

std::vector<SceneHotKeyBinding> SceneHotKeyBinding::defaultBindings(
    const std::vector<DisplayScene>& scenes) {
    std::vector<SceneHotKeyBinding> bindings;
    const std::size_t count = std::min(scenes.size(), kDigitKeyCodes.size());
    for (std::size_t position = 0; position < count; ++position) {
        const DisplayScene& scene = scenes[position];
        SceneHotKeyBinding binding;
        binding.id = "scene-" + scene.id;
        binding.sceneID = scene.id;
        binding.enabled = true;
        binding.combination = HotKeyCombination(
            kDigitKeyCodes[position], std::to_string(position + 1),
            {HotKeyModifier::control, HotKeyModifier::option, HotKeyModifier::command});
        bindings.push_back(std::move(binding));
    }
    return bindings;
}

std::vector<SceneHotKeyBinding> SceneHotKeyBinding::normalized(
    const std::vector<SceneHotKeyBinding>& bindings) {
    std::vector<SceneHotKeyBinding> kept;
    std::set<std::string> seen;
    for (const auto& binding : bindings) {
        if (trimWhitespaceAndNewlines(binding.id).empty())
            continue;
        if (!seen.insert(binding.id).second)
            continue;
        SceneHotKeyBinding clean = binding;
        clean.combination.modifiers =
            HotKeyCombination::normalizedModifiers(std::move(clean.combination.modifiers));
        kept.push_back(std::move(clean));
    }
    return kept;
}

std::vector<SceneHotKeyBinding> SceneHotKeyBinding::mergedWithDefaultBindings(
    const std::vector<SceneHotKeyBinding>& bindings) {
    const std::vector<SceneHotKeyBinding> saved = normalized(bindings);
    const std::vector<SceneHotKeyBinding> defaults = defaultBindings();

    std::vector<SceneHotKeyBinding> merged;
    merged.reserve(defaults.size() + saved.size());
    for (const auto& fallback : defaults) {
        const SceneHotKeyBinding* own = findByID(saved, fallback.id);
        merged.push_back(own ? *own : fallback);
    }
    for (const auto& binding : saved) {
        if (!findByID(defaults, binding.id))
            merged.push_back(binding);
    }
    return merged;
}

}  // namespace quorvane
