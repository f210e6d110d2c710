#include "platform/linux/gamma_controller.hpp"

#include <gtest/gtest.h>

#include <X11/extensions/Xrandr.h>

#include "models/display/display_control_error.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class GammaControllerTest : public testing::XServerTest {
  protected:
    void TearDown() override {
        if (connection) {
            GammaController(256, displayName).restoreSystemColorSettings();
        }
    }
};

TEST_F(GammaControllerTest, WrittenTablesReadBackFromTheCrtc) {
    auto target = output("DUMMY1");
    auto bystander = output("DUMMY0");
    ASSERT_TRUE(target && bystander);
    GammaController controller(256, displayName);
    ColorAdjustment warm;
    warm.warmth = 1;
    warm.contrast = 1.3;
    auto bystanderBefore = readCrtcGamma(*connection, bystander->crtc);
    ASSERT_TRUE(bystanderBefore);

    controller.apply(warm, static_cast<DisplayID>(target->id));

    auto written = readCrtcGamma(*connection, target->crtc);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written,
              GammaRamp::fromTables(controller.makeTransferTables(warm), written->size()));
    EXPECT_EQ(written->blue.back(), 44564);  // 0.68 of full scale
    EXPECT_EQ(readCrtcGamma(*connection, bystander->crtc), bystanderBefore);
}

TEST_F(GammaControllerTest, RestoringPutsTheIdentityRampOnEveryCrtc) {
    GammaController controller(256, displayName);
    ColorAdjustment inverted;
    inverted.outputFilter = QuorvaneOutputFilter::invert;
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"}) {
        controller.apply(inverted, static_cast<DisplayID>(output(name)->id));
    }

    controller.restoreSystemColorSettings();

    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"}) {
        auto ramp = readCrtcGamma(*connection, output(name)->crtc);
        ASSERT_TRUE(ramp);
        EXPECT_EQ(*ramp, GammaRamp::identity(ramp->size())) << name;
    }
}

TEST_F(GammaControllerTest, UnknownDisplayIsTheServersBadOutputError) {
    GammaController controller(256, displayName);
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    try {
        controller.apply(ColorAdjustment::neutral(), 0x7FFFFF);
        FAIL() << "expected an error";
    } catch (const DisplayControlError& error) {
        EXPECT_EQ(error, DisplayControlError::coreGraphics(screen->badOutputErrorCode()));
    }
}

TEST_F(GammaControllerTest, RefusedRequestBecomesATypedErrorInsteadOfEndingTheProcess) {
    auto target = output("DUMMY2");
    ASSERT_TRUE(target);
    // A ramp of the wrong length: the server answers BadValue asynchronously.
    auto error = writeCrtcGamma(*connection, target->crtc, GammaRamp::identity(17));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorCode, BadMatch);
    // The connection stays usable and the next write succeeds.
    EXPECT_FALSE(writeCrtcGamma(*connection, target->crtc, GammaRamp::identity(256)));
}

TEST_F(GammaControllerTest, UnreachableServerIsReported) {
    EXPECT_THROW(GammaController(256, ":4093").apply(ColorAdjustment::neutral(), 1),
                 DisplayControlError);
}

}  // namespace
}  // namespace quorvane
