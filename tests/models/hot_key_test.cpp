#include <gtest/gtest.h>

#include <algorithm>

#include "models/coding/json_coding.hpp"
#include "models/hot_keys/hot_key_combination.hpp"
#include "models/hot_keys/scene_hot_key_binding.hpp"
#include "models/presets/display_scene.hpp"

namespace quorvane {
namespace {

using M = HotKeyModifier;

std::vector<std::string> idsOf(const std::vector<SceneHotKeyBinding>& bindings) {
    std::vector<std::string> ids;
    for (const auto& b : bindings)
        ids.push_back(b.id);
    return ids;
}

SceneHotKeyBinding binding(std::string id, std::string sceneID, HotKeyCombination combination,
                           bool enabled = true) {
    return {std::move(id), std::move(sceneID), enabled, std::move(combination)};
}

TEST(HotKeyCombination, LabelsFollowTheDesktopAndStoredOrder) {
    const Json stored =
        parseJson(R"({"keyCode":37,"keyLabel":"L","modifiers":["shift","command"]})");
    const auto decoded = HotKeyCombination::fromJson(stored);
    EXPECT_EQ(decoded.displayLabel(), "Shift+Super+L");

    const HotKeyCombination built(37, "L", {M::shift, M::command, M::shift});
    EXPECT_EQ(built.displayLabel(), "Super+Shift+L");
    EXPECT_NE(decoded, built);
    EXPECT_EQ(HotKeyCombination::defaultEmergencyRecovery(), built);

    EXPECT_EQ(HotKeyCombination(18, "1", {M::command, M::option, M::control}).displayLabel(),
              "Ctrl+Alt+Super+1");
    EXPECT_EQ(HotKeyCombination(50, "F5", {}).displayLabel(), "F5");
}

TEST(HotKeyCombination, JsonKeepsStoredFormAndIsStrict) {
    const HotKeyCombination combination(20, "3", {M::control, M::shift});
    const Json encoded = combination.toJson<Json>();
    EXPECT_EQ(encoded["modifiers"], Json::parse(R"(["control","shift"])"));
    EXPECT_EQ(HotKeyCombination::fromJson(encoded), combination);

    EXPECT_THROW(HotKeyCombination::fromJson(
                     parseJson(R"({"keyCode":37,"keyLabel":"L","modifiers":["hyper"]})")),
                 JsonDecodeError);
    EXPECT_THROW(HotKeyCombination::fromJson(parseJson(R"({"keyCode":37,"keyLabel":"L"})")),
                 JsonDecodeError);
    EXPECT_THROW(
        HotKeyCombination::fromJson(parseJson(R"({"keyCode":-1,"keyLabel":"L","modifiers":[]})")),
        JsonDecodeError);
}

TEST(SceneHotKeyBinding, JsonRequiresEveryKey) {
    const auto original = binding("scene-work", "work", HotKeyCombination(18, "1", {M::command}));
    const OrderedJson encoded = original.toJson<OrderedJson>();
    EXPECT_EQ(SceneHotKeyBinding::fromJson(encoded), original);

    for (const char* key : {"id", "sceneID", "enabled", "combination"}) {
        OrderedJson missing = encoded;
        missing.erase(key);
        EXPECT_THROW(SceneHotKeyBinding::fromJson(missing), JsonDecodeError) << key;
    }
}

TEST(SceneHotKeyBinding, DefaultsCoverBuiltInScenesOnDigitKeys) {
    const auto defaults = SceneHotKeyBinding::defaultBindings();
    const auto& scenes = DisplayScene::builtIns();
    ASSERT_EQ(defaults.size(), scenes.size());
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        EXPECT_EQ(defaults[i].sceneID, scenes[i].id);
        EXPECT_EQ(defaults[i].combination.displayLabel(),
                  "Ctrl+Alt+Super+" + std::to_string(i + 1));
    }

    std::vector<DisplayScene> many(12, scenes.front());
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i].id = std::string("s").append(std::to_string(i));
    const auto nine = SceneHotKeyBinding::defaultBindings(many);
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.back().combination.keyLabel, "9");
    // The digit keys' recorded codes are not in label order past 4.
    EXPECT_EQ(nine[4].combination.keyCode, 23u);
    EXPECT_EQ(nine[5].combination.keyCode, 22u);
}

TEST(SceneHotKeyBinding, NormalizedDropsBlankAndRepeatedIdsAndSortsModifiers) {
    const HotKeyCombination unsorted = HotKeyCombination::fromJson(
        parseJson(R"({"keyCode":1,"keyLabel":"S","modifiers":["shift","control","shift"]})"));
    const auto result = SceneHotKeyBinding::normalized({
        binding("a", "first", unsorted),
        binding(" \n", "blank", unsorted),
        binding("a", "second", unsorted),
        binding("b", "", unsorted, false),
    });
    EXPECT_EQ(idsOf(result), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(result[0].sceneID, "first");
    EXPECT_EQ(result[1].sceneID, "");  // a blank scene id is not examined
    EXPECT_FALSE(result[1].enabled);
    EXPECT_EQ(result[0].combination.modifiers, (std::vector<M>{M::control, M::shift}));
}

TEST(SceneHotKeyBinding, MergeKeepsDefaultsFirstAndUserChanges) {
    const auto defaults = SceneHotKeyBinding::defaultBindings();
    EXPECT_EQ(SceneHotKeyBinding::mergedWithDefaultBindings({}), defaults);

    const auto nightOnNine =
        binding("scene-night", "night",
                HotKeyCombination(25, "9", {M::control, M::option, M::command}), false);
    const auto custom = binding("scene-ABC", "ABC", HotKeyCombination(0, "A", {M::command}));
    const auto merged =
        SceneHotKeyBinding::mergedWithDefaultBindings({custom, nightOnNine, binding("", "x", {})});

    ASSERT_EQ(merged.size(), defaults.size() + 1);
    for (std::size_t i = 0; i < defaults.size(); ++i)
        EXPECT_EQ(merged[i].id, defaults[i].id);
    EXPECT_EQ(merged[1], nightOnNine);
    EXPECT_EQ(merged[0], defaults[0]);
    EXPECT_EQ(merged.back(), custom);
}

}  // namespace
}  // namespace quorvane
