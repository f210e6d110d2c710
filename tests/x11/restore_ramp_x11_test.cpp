// Restoring and writing neutral colour put an output's own calibration back:
// the vcgt curves of the profile published for it, else the identity ramp.

#include <X11/Xatom.h>
#include <gtest/gtest.h>

#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/vcgt_ramp.hpp"
#include "support/icc_test_profiles.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class RestoreRampTest : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        controller =
            std::make_unique<GammaController>(GammaController::kStandardTableSize, displayName);
        // DUMMY1 is the second active output: its profile is _ICC_PROFILE_1.
        calibration = testing::IccTestProfiles::calibrated(1.8, 1.0, 0.6);
        XChangeProperty(connection->display(), connection->root(),
                        connection->atom("_ICC_PROFILE_1"), XA_CARDINAL, 8, PropModeReplace,
                        calibration.data(), static_cast<int>(calibration.size()));
        connection->sync();
    }

    void TearDown() override {
        if (!connection)
            return;
        XDeleteProperty(connection->display(), connection->root(),
                        connection->atom("_ICC_PROFILE_1"));
        connection->sync();
        resetRampsToIdentity();
    }

    GammaRamp current(const char* name) { return currentRamp(name).value_or(GammaRamp{}); }

    void warmEveryOutput() {
        auto warm = ColorAdjustment::neutral();
        warm.warmth = 0.7;
        for (const char* name : {"DUMMY1", "DUMMY2"})
            controller->apply(warm, static_cast<DisplayID>(output(name)->id));
    }

    std::vector<std::uint8_t> calibration;
    std::unique_ptr<GammaController> controller;
};

TEST_F(RestoreRampTest, RestoringPutsTheProfilesCalibrationBackAndIdentityElsewhere) {
    warmEveryOutput();
    controller->restoreSystemColorSettings();

    const auto calibrated = current("DUMMY1");
    EXPECT_EQ(calibrated, *vcgtRamp(calibration, calibrated.size()));
    const auto plain = current("DUMMY2");
    EXPECT_EQ(plain, GammaRamp::identity(plain.size()));
}

TEST_F(RestoreRampTest, WritingNeutralColourKeepsTheCalibrationToo) {
    warmEveryOutput();
    const auto displayID = static_cast<DisplayID>(output("DUMMY1")->id);
    controller->apply(ColorAdjustment::neutral(), displayID);
    const auto calibrated = current("DUMMY1");
    EXPECT_EQ(calibrated, *vcgtRamp(calibration, calibrated.size()));

    // Anything but neutral is written as asked, calibration or not.
    auto dim = ColorAdjustment::neutral();
    dim.softwareBrightness = 0.5;
    controller->apply(dim, displayID);
    EXPECT_NE(current("DUMMY1"), *vcgtRamp(calibration, calibrated.size()));
}

}  // namespace
}  // namespace quorvane
