#include <gtest/gtest.h>

#include "models/color/color_adjustment.hpp"
#include "models/display/auto_apply_tracker.hpp"
#include "models/display/display_identity.hpp"
#include "models/display/display_instance_key.hpp"

namespace quorvane {
namespace {

DisplaySnapshot monitor(std::uint32_t serial, std::string name, bool builtin = false) {
    DisplaySnapshot display;
    display.id = 1;
    display.name = std::move(name);
    display.vendorNumber = 1552;
    display.modelNumber = 41240;
    display.serialNumber = serial;
    display.isBuiltin = builtin;
    return display;
}

TEST(DisplayIdentity, RawValueWithSerialIgnoresTheName) {
    const auto a = DisplayIdentity::of(monitor(7, "사무실 모니터"));
    EXPECT_EQ(a.rawValue, "vendor-1552-model-41240-serial-7-external");
    EXPECT_TRUE(a.hasReliableSerial);
    const auto renamed = DisplayIdentity::of(monitor(7, "Other"));
    EXPECT_EQ(renamed.rawValue, a.rawValue);
    EXPECT_NE(renamed, a);  // equality covers the name too
    EXPECT_EQ(DisplayIdentity::of(monitor(4294967295u, "x")).rawValue,
              "vendor-1552-model-41240-serial-4294967295-external");
}

TEST(DisplayIdentity, SerialMissingSanitisesPerScalar) {
    EXPECT_EQ(DisplayIdentity::of(monitor(0, "Color LCD", true)).rawValue,
              "vendor-1552-model-41240-serial-missing-name-Color-LCD-builtin");
    EXPECT_FALSE(DisplayIdentity::of(monitor(0, "x")).hasReliableSerial);
    EXPECT_EQ(DisplayIdentity::sanitize("Office Screen (2)"), "Office-Screen--2-");
    EXPECT_EQ(DisplayIdentity::sanitize(""), "");
    EXPECT_EQ(DisplayIdentity::of(monitor(0, "")).rawValue,
              "vendor-1552-model-41240-serial-missing-name--external");
    // Hangul letters stay, each space becomes one hyphen.
    EXPECT_EQ(DisplayIdentity::sanitize("삼성 모니터  A"), "삼성-모니터--A");
    // Decomposed Hangul (jamo) and combining accents are letters and marks: kept as is.
    EXPECT_EQ(DisplayIdentity::sanitize("e\u0301cran \u1100\u1161"), "e\u0301cran-\u1100\u1161");
    // A family emoji of 5 scalars (3 people joined by 2 ZWJ) becomes 5 hyphens;
    // a flag is 2 regional indicators.
    EXPECT_EQ(DisplayIdentity::sanitize("\U0001F468\u200D\U0001F469\u200D\U0001F467"), "-----");
    EXPECT_EQ(DisplayIdentity::sanitize("\U0001F1F0\U0001F1F7"), "--");
    // All numbers count, not only decimal digits; "-" and "_" stay; case is kept.
    EXPECT_EQ(DisplayIdentity::sanitize("Dell_U27²Ⅻ-Pro.v2"), "Dell_U27²Ⅻ-Pro-v2");
    // Invalid UTF-8 cannot reach the key as raw bytes.
    EXPECT_EQ(DisplayIdentity::sanitize("A\xFF"
                                        "B"),
              "A-B");
}

TEST(DisplayIdentity, JsonRequiresEveryKey) {
    const auto identity = DisplayIdentity::of(monitor(0, "모니터 😀"));
    EXPECT_EQ(DisplayIdentity::fromJson(parseJson(dumpJson(identity.toJson<Json>()))), identity);
    for (const char* key : {"rawValue", "displayName", "hasReliableSerial"}) {
        Json object = identity.toJson<Json>();
        object.erase(key);
        EXPECT_THROW(DisplayIdentity::fromJson(object), JsonDecodeError) << key;
    }
    Json wrong = identity.toJson<Json>();
    wrong["hasReliableSerial"] = 0;
    EXPECT_THROW(DisplayIdentity::fromJson(wrong), JsonDecodeError);
}

TEST(AutoApplyTracker, InstanceKeysClearAndReconcile) {
    auto first = monitor(7, "A");
    first.id = 3;
    const auto identity = DisplayIdentity::of(first);
    EXPECT_EQ(displayInstanceKey(first), identity.rawValue + "|display-3");

    // One serial-less monitor's raw value is a prefix of another's.
    auto prefixOwner = monitor(0, "A");
    auto prefixed = monitor(0, "A-external");
    prefixed.id = 9;
    ASSERT_TRUE(DisplayIdentity::of(prefixed).rawValue.starts_with(
        DisplayIdentity::of(prefixOwner).rawValue));

    AutoApplyTracker tracker;
    const std::string signature = ColorAdjustment::neutral().stableApplySignature();
    tracker.appliedSignatures[displayInstanceKey(first)] = signature;
    tracker.appliedSignatures[displayInstanceKey(identity, 4)] = signature;
    tracker.appliedSignatures[displayInstanceKey(prefixOwner)] = signature;
    tracker.appliedSignatures[displayInstanceKey(prefixed)] = signature;
    // A key that merely starts with the raw value (no bar) is another monitor.
    tracker.appliedSignatures[identity.rawValue + "x|display-5"] = signature;

    tracker.clear(identity);
    EXPECT_EQ(tracker.appliedSignatures.size(), 3u);
    EXPECT_TRUE(tracker.appliedSignatures.contains(identity.rawValue + "x|display-5"));

    tracker.clear(DisplayIdentity::of(prefixOwner));
    EXPECT_TRUE(tracker.appliedSignatures.contains(displayInstanceKey(prefixed)));
    EXPECT_FALSE(tracker.appliedSignatures.contains(displayInstanceKey(prefixOwner)));

    // The same monitor back under a new display ID: the old entry goes.
    prefixed.id = 10;
    tracker.reconcileVisibleInstances({displayInstanceKey(prefixed)});
    EXPECT_TRUE(tracker.appliedSignatures.empty());
}

}  // namespace
}  // namespace quorvane
