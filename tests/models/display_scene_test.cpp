#include <gtest/gtest.h>

#include "models/coding/json_coding.hpp"
#include "models/presets/display_scene.hpp"

namespace quorvane {
namespace {

ColorAdjustment dimmed(double brightness) {
    ColorAdjustment adjustment;
    adjustment.softwareBrightness = brightness;
    return adjustment;
}

TEST(DisplayScene, BuiltInsCoverEveryDisplayThroughTheirFallback) {
    const auto& scenes = DisplayScene::builtIns();
    for (const auto& scene : scenes) {
        EXPECT_TRUE(scene.hardwareActions.empty());
        ASSERT_TRUE(scene.fallbackAdjustment) << scene.id;
        EXPECT_EQ(scene.adjustment("vendor-1-model-2-serial-3-external"), scene.fallbackAdjustment);
    }
    EXPECT_EQ(scenes[2].fallbackAdjustment, ColorAdjustment::neutral());
}

// The shipped scenes, exactly as the application offers them: ids, names,
// order and every number of the fallback that covers each display.
TEST(DisplayScene, BuiltInsAreTheShippedTable) {
    struct Row {
        const char* id;
        const char* name;
        ColorAdjustment fallback;
    };
    // softwareBrightness, contrast, gamma, red/green/blue gamma, red/green/blue gain, warmth
    const Row rows[] = {
        {"work", "Work", {0.94, 1.02, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.97, 0.1}},
        {"night", "Night", {0.7, 0.94, 1.0, 1.0, 1.0, 1.0, 1.04, 0.98, 0.82, 0.58}},
        {"design", "Design", {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.0}},
        {"meeting", "Meeting", {1.12, 1.03, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.98, 0.05}},
        {"movie", "Movie", {0.98, 1.16, 1.0, 1.0, 1.0, 1.0, 1.03, 1.0, 0.93, 0.22}},
    };
    std::vector<DisplayScene> expected;
    for (const auto& row : rows)
        expected.push_back({row.id, row.name, DisplayScene::Kind::builtIn, row.fallback, {}, {}});
    EXPECT_EQ(DisplayScene::builtIns(), expected);
}

TEST(DisplayScene, ResolvesEntryThenFallbackThenNothing) {
    DisplayScene scene;
    scene.id = "custom-1";
    scene.name = "발표";
    scene.softwareAdjustmentsByDisplayIdentity["A"] = dimmed(0.5);
    scene.fallbackAdjustment = dimmed(0.8);
    EXPECT_EQ(scene.adjustment("A"), dimmed(0.5));
    EXPECT_EQ(scene.adjustment("B"), dimmed(0.8));
    scene.fallbackAdjustment.reset();
    EXPECT_EQ(scene.adjustment("A"), dimmed(0.5));
    EXPECT_FALSE(scene.adjustment("B"));
}

TEST(DisplayScene, RoundTripsWithNestedAdjustmentsAndActions) {
    DisplayScene scene;
    scene.id = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";
    scene.name = "Desk";
    scene.softwareAdjustmentsByDisplayIdentity["A"] = dimmed(0.6);
    DisplaySceneHardwareAction action;
    action.id = "step";
    action.kind = DisplaySceneHardwareAction::Kind::ddcControl;
    action.targetDisplayIdentityRawValue = "A";
    action.vcpCodeRawValue = 0x10;
    action.rawValue = 65535;
    action.normalizedValue = 0.25;
    action.modeID = "8-1920x1080-3840x2160-60.000";
    action.note = "메모";
    scene.hardwareActions.push_back(action);

    EXPECT_EQ(DisplayScene::fromJson(parseOrderedJson(dumpJson(scene.toJson<OrderedJson>()))),
              scene);

    for (const auto& builtIn : DisplayScene::builtIns()) {
        EXPECT_EQ(DisplayScene::fromJson(builtIn.toJson<Json>()), builtIn);
    }
}

TEST(DisplayScene, DecodingRequiresNonOptionalKeys) {
    const Json base = parseJson(R"({"id":"s","name":"S","kind":"custom",
        "softwareAdjustmentsByDisplayIdentity":{},"hardwareActions":[],"fallbackAdjustment":null})");
    EXPECT_FALSE(DisplayScene::fromJson(base).fallbackAdjustment);

    for (const char* key :
         {"id", "name", "kind", "softwareAdjustmentsByDisplayIdentity", "hardwareActions"}) {
        Json missing = base;
        missing.erase(key);
        EXPECT_THROW(DisplayScene::fromJson(missing), JsonDecodeError) << key;
    }
    Json badKind = base;
    badKind["kind"] = "BuiltIn";
    EXPECT_THROW(DisplayScene::fromJson(badKind), JsonDecodeError);
}

TEST(DisplaySceneHardwareAction, OptionalFieldsAreLeftOutAndRangeChecked) {
    DisplaySceneHardwareAction action;
    action.id = "only";
    action.kind = DisplaySceneHardwareAction::Kind::inputSource;
    EXPECT_EQ(dumpJson(action.toJson<OrderedJson>()), R"({"id":"only","kind":"inputSource"})");

    EXPECT_THROW(DisplaySceneHardwareAction::fromJson(parseJson(R"({"id":"x"})")), JsonDecodeError);
    for (const char* bad :
         {R"({"id":"x","kind":"ddcControl","vcpCodeRawValue":256})",
          R"({"id":"x","kind":"ddcControl","rawValue":65536})", R"({"id":"x","kind":"volume"})"})
        EXPECT_THROW(DisplaySceneHardwareAction::fromJson(parseJson(bad)), JsonDecodeError) << bad;
}

}  // namespace
}  // namespace quorvane
