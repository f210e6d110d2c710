#include <gtest/gtest.h>

#include "models/display/display_identity.hpp"
#include "models/display/display_identity_descriptor.hpp"

namespace quorvane {
namespace {

using Builder = DisplayIdentityDescriptorBuilder;

DisplaySnapshot display(DisplayID id, std::uint32_t serial, DisplayRect bounds, bool main = false) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = "LG HDR 4K";
    snapshot.vendorNumber = 7789;
    snapshot.modelNumber = 30471;
    snapshot.serialNumber = serial;
    snapshot.isMain = main;
    snapshot.bounds = bounds;
    return snapshot;
}

TEST(DisplayIdentityAliasKey, SerialLessKeysFollowIntegralBounds) {
    const auto d = display(2, 0, {1512, -200, 2560, 1440});
    const std::string raw = DisplayIdentity::of(d).rawValue;
    EXPECT_EQ(Builder::aliasKey(d), raw + "#local-bounds-1512x-200x2560x1440#secondary-external");
    // Fractional bounds widen outwards: origin floors, far edges ceil
    // (-0.5 + 1919.75 = 1919.25 ends at 1920, so the width is 1921).
    const auto fractional = display(2, 0, {-0.5, -199.25, 1919.75, 1080.5}, true);
    EXPECT_EQ(Builder::aliasKey(fractional), raw + "#local-bounds--1x-200x1921x1082#main-external");
    // A negative size names the same area as its standardised form.
    const auto flipped = display(2, 0, {4072, 1240, -2560, -1440});
    EXPECT_EQ(Builder::aliasKey(flipped), Builder::aliasKey(d));
    // Becoming main changes the key only without a reliable serial.
    auto withSerial = display(3, 99, {0, 0, 10, 10});
    const std::string before = Builder::aliasKey(withSerial);
    withSerial.isMain = true;
    EXPECT_EQ(Builder::aliasKey(withSerial), before);
    EXPECT_EQ(before, DisplayIdentity::of(withSerial).rawValue);
}

TEST(DisplayIdentityDescriptors, LookAlikeMonitorsAreAmbiguous) {
    const std::vector<DisplaySnapshot> twins{display(1, 0, {0, 0, 1920, 1080}, true),
                                             display(2, 0, {1920, 0, 1920, 1080})};
    const auto descriptors = Builder::descriptors(twins, {});
    ASSERT_EQ(descriptors.size(), 2u);
    for (const auto& d : descriptors) {
        EXPECT_EQ(d.confidence, DisplayIdentityConfidence::ambiguous);
        EXPECT_EQ(d.reason, confidenceReason(DisplayIdentityConfidence::ambiguous));
    }
    EXPECT_NE(descriptors[0].aliasKey, descriptors[1].aliasKey);
    EXPECT_TRUE(Builder::safeImportTargetIdentityRawValues(twins).empty());
    EXPECT_EQ(Builder::sharedIdentityRawValues(twins).size(), 1u);

    // The same non-zero serial twice: ambiguous and one shared alias key.
    const std::vector<DisplaySnapshot> sameSerial{display(1, 5, {0, 0, 10, 10}),
                                                  display(2, 5, {10, 0, 10, 10})};
    const auto both = Builder::descriptors(
        sameSerial, {{DisplayIdentity::of(sameSerial[0]).rawValue, " 왼쪽 \n"}});
    EXPECT_EQ(both[0].confidence, DisplayIdentityConfidence::ambiguous);
    EXPECT_EQ(both[0].aliasKey, both[1].aliasKey);
    EXPECT_EQ(both[1].alias, "왼쪽");
}

TEST(DisplayIdentityDescriptors, SingleDisplaysAndAliases) {
    const auto lone = display(1, 0, {0, 0, 10, 10});
    const auto d = Builder::descriptor(lone, {lone}, {{Builder::aliasKey(lone), "   "}});
    EXPECT_EQ(d.confidence, DisplayIdentityConfidence::serialMissing);
    EXPECT_FALSE(d.alias.has_value());
    EXPECT_EQ(Builder::safeImportTargetIdentityRawValues({lone}).size(), 1u);
    EXPECT_EQ(Builder::descriptor(display(1, 3, {}), {display(1, 3, {})}, {}).confidence,
              DisplayIdentityConfidence::reliable);

    // Missing from the list: described alone, never ambiguous.
    const auto twin = display(7, 0, {0, 0, 10, 10});
    EXPECT_EQ(Builder::descriptor(twin, {lone}, {}).confidence,
              DisplayIdentityConfidence::serialMissing);
}

TEST(DisplayIdentityDescriptors, GroupAndSceneWarnings) {
    const std::vector<DisplaySnapshot> visible{display(1, 0, {0, 0, 10, 10}),
                                               display(2, 0, {10, 0, 10, 10}),
                                               display(3, 42, {20, 0, 10, 10})};
    const std::string shared = DisplayIdentity::of(visible[0]).rawValue;
    const std::string distinct = DisplayIdentity::of(visible[2]).rawValue;

    DisplayGroup group;
    group.displayIdentityRawValues = {distinct, shared};
    EXPECT_EQ(Builder::groupWarning(group, visible),
              "동일하게 보이는 모니터가 이 묶음에 있어 자동 적용은 건너뜁니다.");
    group.displayIdentityRawValues = {distinct, "vendor-1-model-2-serial-3-external"};
    EXPECT_FALSE(Builder::groupWarning(group, visible));

    const std::string sceneText = "동일하게 보이는 모니터가 있어 자동 적용은 건너뜁니다.";
    DisplayScene scene;
    // Only a fallback (no per-display entries): warns only for an ambiguous selection.
    EXPECT_FALSE(Builder::sceneWarning(scene, visible[2], visible));
    EXPECT_FALSE(Builder::sceneWarning(scene, std::nullopt, visible));
    EXPECT_EQ(Builder::sceneWarning(scene, visible[1], visible), sceneText);
    scene.softwareAdjustmentsByDisplayIdentity[shared] = ColorAdjustment::neutral();
    EXPECT_EQ(Builder::sceneWarning(scene, std::nullopt, visible), sceneText);
}

}  // namespace
}  // namespace quorvane
