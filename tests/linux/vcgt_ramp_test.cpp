// The calibration curves of an ICC profile as a CRTC ramp, and when a write
// counts as neutral.

#include "platform/linux/vcgt_ramp.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/linux/restore_ramp.hpp"
#include "support/icc_test_profiles.hpp"

namespace quorvane {
namespace {

using testing::IccTestProfiles;

std::uint16_t level(double value) {
    return static_cast<std::uint16_t>(std::lround(value * 65535.0));
}

TEST(VcgtRamp, EachChannelFollowsItsOwnCurveAtTheRampsSize) {
    const auto profile = IccTestProfiles::calibrated(2.0, 1.0, 0.5);
    const auto ramp = vcgtRamp(profile, 1024);
    ASSERT_TRUE(ramp);
    ASSERT_EQ(ramp->size(), 1024u);
    // Input 512/1023: the channels differ, so a swapped or shared curve shows.
    const double x = 512.0 / 1023.0;
    EXPECT_NEAR(ramp->red[512], level(x * x), 40);
    EXPECT_NEAR(ramp->green[512], level(x), 40);
    EXPECT_NEAR(ramp->blue[512], level(std::sqrt(x)), 40);
    // Both ends are kept exactly.
    EXPECT_EQ(ramp->red.front(), 0);
    EXPECT_EQ(ramp->blue.back(), 65535);
}

TEST(VcgtRamp, NoCalibrationMeansNoRamp) {
    EXPECT_FALSE(vcgtRamp(IccTestProfiles::make(IccTestProfiles::Kind::display, L"Plain"), 256));
    const std::vector<std::uint8_t> noise(600, 0x5A);
    EXPECT_FALSE(vcgtRamp(noise, 256));
    EXPECT_FALSE(vcgtRamp({}, 256));
    EXPECT_FALSE(vcgtRamp(IccTestProfiles::calibrated(2.0, 2.0, 2.0), 1));
}

TEST(NeutralTables, OnlyTablesThatChangeNothingAreNeutral) {
    EXPECT_TRUE(isNeutralTables(buildTransferTables(ColorAdjustment::neutral(), 256)));
    EXPECT_TRUE(isNeutralTables(buildTransferTables(ColorAdjustment::neutral(), 1024)));
    // The smallest visible change: a warmth step or a gain a little below 1.
    auto warm = ColorAdjustment::neutral();
    warm.warmth = 0.01;
    EXPECT_FALSE(isNeutralTables(buildTransferTables(warm, 256)));
    auto dimBlue = ColorAdjustment::neutral();
    dimBlue.blueGain = 0.999;
    EXPECT_FALSE(isNeutralTables(buildTransferTables(dimBlue, 256)));
}

}  // namespace
}  // namespace quorvane
