#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

#include "models/color/color_adjustment.hpp"

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

TEST(ColorAdjustmentJson, WrongValuesFailAndFullRecordsRoundTrip) {
    for (const auto& [key, value] : std::vector<std::pair<const char*, Json>>{
             {"redGamma", "1"}, {"outputFilter", "sepia"}, {"outputFilter", "Invert"}}) {
        Json object = parseJson(kMinimal);
        object[key] = value;
        EXPECT_THROW(ColorAdjustment::fromJson(object), JsonDecodeError) << key;
    }
    EXPECT_THROW(ColorAdjustment::fromJson(parseJson("[1]")), JsonDecodeError);

    ColorAdjustment a{
        0.8, 1.2, 0.9, 1.1, 0.95, 1.05, 0.7, 0.8, 0.9, -0.35, QuorvaneOutputFilter::invert};
    EXPECT_EQ(ColorAdjustment::fromJson(parseJson(dumpJson(a.toJson<OrderedJson>()))), a);
}

}  // namespace
}  // namespace quorvane
