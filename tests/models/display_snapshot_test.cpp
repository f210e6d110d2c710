#include <gtest/gtest.h>

#include "models/display/display_mode_snapshot.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {
namespace {

TEST(DisplayModeSnapshot, KeyAndLabel) {
    const auto retina = DisplayModeSnapshot::make({8, 1920, 1080, 3840, 2160, 60.0}, true);
    EXPECT_EQ(retina.id, "8-1920x1080-3840x2160-60.000");
    EXPECT_EQ(retina.label(), "1920×1080 · 3840×2160 px · 60 Hz");

    const auto plain = DisplayModeSnapshot::make({-3, 2560, 1440, 2560, 1440, 59.951}, false);
    EXPECT_EQ(plain.id, "-3-2560x1440-2560x1440-59.951");
    EXPECT_EQ(plain.label(), "2560×1440 · 60 Hz");

    const auto noRate = DisplayModeSnapshot::make({1, 1440, 900, 1440, 900, 0}, false);
    EXPECT_EQ(noRate.id, "1-1440x900-1440x900-0.000");
    EXPECT_EQ(noRate.label(), "1440×900");

    // Halves round away from zero; only one dimension differing still shows pixels.
    const auto half = DisplayModeSnapshot::make({2, 1512, 982, 1512, 1964, 119.5}, false);
    EXPECT_EQ(half.label(), "1512×982 · 1512×1964 px · 120 Hz");
}

TEST(DisplaySnapshot, SubtitleAndEquality) {
    DisplaySnapshot a;
    a.vendorNumber = 1552;
    a.modelNumber = 41240;
    a.serialNumber = 4294967295u;
    EXPECT_EQ(a.technicalSubtitle(), "vendor 1552, model 41240, serial 4294967295");

    DisplaySnapshot b = a;
    b.hardwareBrightness = 0.5;
    EXPECT_NE(a, b);

    // Bounds compare as areas: a negative size describes the same rectangle.
    a.bounds = {100, 50, -100, 20};
    b = a;
    b.bounds = {0, 50, 100, 20};
    EXPECT_EQ(a, b);
    EXPECT_EQ(hashValue(a), hashValue(b));
}

TEST(DisplayRect, IntegralContainsFractionalAndNegativeBounds) {
    EXPECT_EQ(DisplayRect({-0.5, 10.2, 100.4, 50}).integral(), DisplayRect({-1, 10, 101, 51}));
    const DisplayRect flipped = DisplayRect{10, 10, -2.5, 3}.integral();
    EXPECT_DOUBLE_EQ(flipped.x, 7);
    EXPECT_DOUBLE_EQ(flipped.width, 3);
}

}  // namespace
}  // namespace quorvane
