#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

#include "models/color_adjustment.hpp"

namespace quorvane {
namespace {

constexpr const char* kMinimal =
    R"({"softwareBrightness":1,"contrast":1,"gamma":1,"redGain":1,"greenGain":1,"blueGain":1,"warmth":0})";

TEST(ColorAdjustmentSignature, NeutralAndRounding) {
    EXPECT_EQ(ColorAdjustment::neutral().stableApplySignature(),
              "1.0000|1.0000|1.0000|1.0000|1.0000|1.0000|1.0000|1.0000|1.0000|0.0000|filter=none");
    ColorAdjustment a;
    a.gamma = 1.00001;
    a.warmth = 0.25;
    ColorAdjustment b;
    b.gamma = 1.00004;
    b.warmth = 0.250049;
    EXPECT_NE(a, b);
    EXPECT_EQ(a.stableApplySignature(), b.stableApplySignature());
    b.warmth = 0.25006;
    EXPECT_NE(a.stableApplySignature(), b.stableApplySignature());
}

TEST(ColorAdjustmentSignature, FilterAndNegativeZeroWarmthChangeIt) {
    ColorAdjustment inverted;
    inverted.outputFilter = QuorvaneOutputFilter::invert;
    const std::string signature = inverted.stableApplySignature();
    EXPECT_EQ(signature.substr(signature.size() - 14), "|filter=invert");

    ColorAdjustment negativeZero;
    negativeZero.warmth = -0.0;
    EXPECT_EQ(negativeZero, ColorAdjustment::neutral());  // numerically equal...
    EXPECT_NE(negativeZero.stableApplySignature(),        // ...but written differently
              ColorAdjustment::neutral().stableApplySignature());
    EXPECT_NE(negativeZero.stableApplySignature().find("|-0.0000|filter=none"), std::string::npos);
    // Equal values hash alike, whatever the sign of zero.
    EXPECT_EQ(std::hash<ColorAdjustment>{}(negativeZero),
              std::hash<ColorAdjustment>{}(ColorAdjustment::neutral()));
}

TEST(ColorAdjustmentJson, MissingKeysDefaultOnlyWhereAllowed) {
    EXPECT_EQ(ColorAdjustment::fromJson(parseJson(kMinimal)), ColorAdjustment::neutral());
    for (const char* key : {"softwareBrightness", "contrast", "gamma", "redGain", "greenGain",
                            "blueGain", "warmth"}) {
        Json object = parseJson(kMinimal);
        object.erase(key);
        EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError) << key;
        object[key] = nullptr;
        EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError) << key;
    }
    Json withNulls = parseJson(kMinimal);
    withNulls["redGamma"] = nullptr;
    withNulls["outputFilter"] = nullptr;
    withNulls["unknownKey"] = "ignored";
    EXPECT_EQ(ColorAdjustment::fromJson(withNulls), ColorAdjustment::neutral());
}

TEST(ColorAdjustmentJson, WrongValuesFail) {
    Json object = parseJson(kMinimal);
    object["redGamma"] = "1";
    EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError);
    object = parseJson(kMinimal);
    object["outputFilter"] = "sepia";
    EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError);
    object["outputFilter"] = "Invert";
    EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError);
    EXPECT_THROW(ColorAdjustment::fromJson(parseJson("[1]")), JsonDecodeError);
}

TEST(ColorAdjustmentJson, RoundTripsInFieldOrderAndSorted) {
    ColorAdjustment a{
        0.8, 1.2, 0.9, 1.1, 0.95, 1.05, 0.7, 0.8, 0.9, -0.35, QuorvaneOutputFilter::invert};
    const auto ordered = a.toJson<OrderedJson>();
    EXPECT_EQ(ordered.begin().key(), "softwareBrightness");
    EXPECT_EQ((--ordered.end()).key(), "outputFilter");
    EXPECT_EQ(ordered["outputFilter"], "invert");
    EXPECT_EQ(ColorAdjustment::fromJson(parseOrderedJson(dumpJson(ordered))), a);
    const auto sorted = a.toJson<Json>();
    EXPECT_EQ(sorted.begin().key(), "blueGain");
    EXPECT_EQ(ColorAdjustment::fromJson(parseJson(dumpJson(sorted))), a);
    EXPECT_EQ(decodeValue<ColorAdjustment>(encodeValue<Json>(a)), a);
}

}  // namespace
}  // namespace quorvane
