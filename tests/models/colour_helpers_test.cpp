#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "models/color/quorvane_color_temperature.hpp"
#include "models/color/quorvane_levels_adjustment.hpp"
#include "models/color/quorvane_rgb_curve_coordinate.hpp"
#include "models/display/quorvane_brightness_safety.hpp"

namespace quorvane {
namespace {

using Temperature = QuorvaneColorTemperature;

TEST(ColorTemperature, TextAtAndBeyondTheBounds) {
    EXPECT_EQ(Temperature::displayText(0), "6500K");
    EXPECT_EQ(Temperature::displayText(0.5), "4600K");
    EXPECT_EQ(Temperature::displayText(-0.5), "7900K");
    EXPECT_EQ(Temperature::displayText(0.013), "6500K");  // 6450.6 rounds up to 65 hundreds
    EXPECT_EQ(Temperature::displayText(-3), "9300K");
    EXPECT_EQ(Temperature::displayText(1), "2700K");
    EXPECT_EQ(Temperature::displayText(std::numeric_limits<double>::infinity()), "2700K");
    EXPECT_EQ(Temperature::displayText(std::nan("")), "6500K");
    // 6550 K is a half: away from zero.
    EXPECT_EQ(Temperature::displayText(-50.0 / 2800), "6600K");
}

TEST(ColorTemperature, KelvinMapsBackToWarmthWithinTheBounds) {
    EXPECT_DOUBLE_EQ(Temperature::warmth(1000), 1);
    EXPECT_DOUBLE_EQ(Temperature::warmth(20000), -1);
    for (double w : {-1.0, -0.3, 0.0, 0.42, 1.0}) {
        EXPECT_NEAR(Temperature::warmth(Temperature::kelvin(w)), w, 1e-12);
    }
}

TEST(ColorTemperature, PresetsAreTheShippedChips) {
    EXPECT_EQ(Temperature::presets(), (std::vector<Temperature::Preset>{
                                          {"warm-evening", "따뜻한 저녁", 3000},
                                          {"daylight", "자연광", 6500},
                                          {"cool-focus", "집중용 차가움", 9300},
                                      }));
}

TEST(RGBCurveCoordinate, GammaStaysInItsBand) {
    EXPECT_NEAR(QuorvaneRGBCurveCoordinate::gamma(0.5, 0.5), 1, 1e-12);
    EXPECT_NEAR(QuorvaneRGBCurveCoordinate::gamma(0.7071, 0.5), 2, 1e-3);
    EXPECT_DOUBLE_EQ(QuorvaneRGBCurveCoordinate::gamma(0.76, 0.5), 2.5);
    EXPECT_DOUBLE_EQ(QuorvaneRGBCurveCoordinate::gamma(0.17, 0.5), 0.4);
    // Inputs at the very ends use 0.001 and 0.999 instead of dividing by ln 0 or ln 1.
    EXPECT_NEAR(QuorvaneRGBCurveCoordinate::gamma(std::pow(0.001, 0.5), 0), 2, 1e-9);
    EXPECT_NEAR(QuorvaneRGBCurveCoordinate::gamma(std::pow(0.999, 0.8), 1), 1.25, 1e-9);
    for (double output : {-1.0, 0.0, 1.0, 2.0, std::nan("")}) {
        for (double input : {-1.0, 0.0, 1.0, 2.0}) {
            const double g = QuorvaneRGBCurveCoordinate::gamma(output, input);
            EXPECT_GE(g, 0.4);
            EXPECT_LE(g, 2.5);
        }
    }
}

TEST(LevelsAndSafety, QuickOptionsAreTheShippedChips) {
    using Option = QuorvaneLevelsAdjustment::QuickOption;
    EXPECT_EQ(QuorvaneLevelsAdjustment::quickOptions(),
              (std::vector<Option>{
                  {"soft-tone", "부드럽게", "그림자 완화", 1.0, 0.9, 1.05},
                  {"crisp-tone", "또렷하게", "깊이감 강조", 1.05, 1.15, 0.95},
                  {"neutral-tone", "기본 톤", "톤만 초기화", 1.0, 1.0, 1.0},
              }));
}

TEST(LevelsAndSafety, NeutralToneAndEmergencyAdjustment) {
    const auto& options = QuorvaneLevelsAdjustment::quickOptions();
    ASSERT_EQ(options.size(), 3u);
    ColorAdjustment adjustment;
    adjustment.softwareBrightness = 1.2;
    adjustment.contrast = 0.8;
    adjustment.gamma = 1.3;
    adjustment.warmth = 0.4;
    auto expected = ColorAdjustment::neutral();
    expected.warmth = 0.4;  // other fields untouched
    EXPECT_EQ(options[2].applied(adjustment), expected);
    EXPECT_EQ(QuorvaneBrightnessSafety::emergencySoftwareAdjustment().stableApplySignature(),
              ColorAdjustment::neutral().stableApplySignature());
}

}  // namespace
}  // namespace quorvane
