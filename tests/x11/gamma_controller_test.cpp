#include "platform/linux/gamma_controller.hpp"

#include <gtest/gtest.h>

#include <X11/extensions/Xrandr.h>

#include "models/display/display_control_error.hpp"
#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class GammaControllerTest : public testing::XServerTest {
  protected:
    void TearDown() override {
        if (connection) {
            resetRampsToIdentity();
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

// The ramp read back is what is on the output, whoever wrote it: this
// controller or another client. An output it does not drive reads as none.
TEST_F(GammaControllerTest, TheCurrentRampIsWhatTheOutputHoldsWhoeverWroteIt) {
    auto target = output("DUMMY2");
    ASSERT_TRUE(target);
    const auto id = static_cast<DisplayID>(target->id);
    GammaController controller(256, displayName);
    ColorAdjustment warm;
    warm.warmth = 0.7;
    controller.apply(warm, id);
    EXPECT_EQ(controller.currentRamp(id), readCrtcGamma(*connection, target->crtc));

    const auto other = GammaRamp::identity(crtcGammaSize(*connection, target->crtc));
    ASSERT_FALSE(writeCrtcGamma(*connection, target->crtc, other));
    EXPECT_EQ(controller.currentRamp(id), other);
    EXPECT_EQ(controller.currentRamp(0x7FFFFFF0), std::nullopt);
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

// Written to several displays at once, each display still gets its own
// answer: one that cannot be written (unknown here) and one the server
// refuses (its remembered ramp size no longer fits) fail alone, the other
// shows the tables.
TEST_F(GammaControllerTest, TablesWrittenToSeveralDisplaysAtOnceFailOnlyThoseRefused) {
    auto first = output("DUMMY0");
    auto last = output("DUMMY2");
    ASSERT_TRUE(first && last);
    auto shared = std::make_shared<SharedXConnection>(displayName);
    {
        auto lease = shared->lease();
        ASSERT_TRUE(lease);
        lease->activeOutputs();
        lease->cache().rampSizes[last->crtc] = 17;
    }
    GammaController controller(256, shared);
    ColorAdjustment warm;
    warm.warmth = 1;
    const auto tables = controller.makeTransferTables(warm);
    auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
    ASSERT_TRUE(screen);
    const auto lastBefore = readCrtcGamma(*connection, last->crtc);

    const auto answers = controller.setTransferTablesOnEach(
        tables, {static_cast<DisplayID>(first->id), 0x7FFFFF, static_cast<DisplayID>(last->id)});

    ASSERT_EQ(answers.size(), 3u);
    EXPECT_FALSE(answers[0]);
    EXPECT_EQ(answers[1], DisplayControlError::coreGraphics(screen->badOutputErrorCode()));
    EXPECT_EQ(answers[2], DisplayControlError::coreGraphics(BadMatch));
    auto ramp = readCrtcGamma(*connection, first->crtc);
    ASSERT_TRUE(ramp);
    EXPECT_EQ(*ramp, GammaRamp::fromTables(tables, ramp->size()));
    EXPECT_EQ(readCrtcGamma(*connection, last->crtc), lastBefore);
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

TEST_F(GammaControllerTest, OutputSwitchedOffBetweenTwoWritesIsNotWrittenThroughTheKeptCrtc) {
    auto target = output("DUMMY2", true);
    ASSERT_TRUE(target && target->currentMode);
    auto shared = std::make_shared<SharedXConnection>(displayName);
    GammaController controller(256, shared);
    SimulatedBrightnessController brightness;
    DisplayManager manager(shared);
    ASSERT_EQ(manager.activeDisplays(brightness, {}).size(), 3u);
    ColorAdjustment inverted;
    inverted.outputFilter = QuorvaneOutputFilter::invert;
    controller.apply(inverted, static_cast<DisplayID>(target->id));
    auto inverse = readCrtcGamma(*connection, target->crtc);

    switchOutput(*target, false);
    SwitchedOff relight{*this, *target};

    // The remembered CRTC drives nothing now; writing it would succeed
    // silently and show nothing.
    EXPECT_THROW(controller.apply(ColorAdjustment::neutral(), static_cast<DisplayID>(target->id)),
                 DisplayControlError);
    EXPECT_EQ(readCrtcGamma(*connection, target->crtc), inverse);
    EXPECT_EQ(manager.screenNamesByDisplayID().count(static_cast<DisplayID>(target->id)), 0u);

    switchOutput(*target, true);
    controller.apply(ColorAdjustment::neutral(), static_cast<DisplayID>(target->id));
    auto ramp = readCrtcGamma(*connection, target->crtc);
    ASSERT_TRUE(ramp);
    EXPECT_EQ(*ramp, GammaRamp::identity(ramp->size()));
    EXPECT_EQ(manager.screenNamesByDisplayID().count(static_cast<DisplayID>(target->id)), 1u);
}

TEST_F(GammaControllerTest, ErrorsAnotherCallerLeftOnTheKeptConnectionAreNotTheWritesOwn) {
    auto target = output("DUMMY1");
    ASSERT_TRUE(target);
    auto shared = std::make_shared<SharedXConnection>(displayName);
    {
        auto lease = shared->lease();
        ASSERT_TRUE(lease);
        // A refused request whose error nobody waited for.
        GammaRamp wrongLength = GammaRamp::identity(17);
        XRRCrtcGamma* gamma = XRRAllocGamma(17);
        std::copy(wrongLength.red.begin(), wrongLength.red.end(), gamma->red);
        std::copy(wrongLength.green.begin(), wrongLength.green.end(), gamma->green);
        std::copy(wrongLength.blue.begin(), wrongLength.blue.end(), gamma->blue);
        XRRSetCrtcGamma(lease->connection().display(), target->crtc, gamma);
        XRRFreeGamma(gamma);
        XFlush(lease->connection().display());
    }
    ColorAdjustment warm;
    warm.warmth = 1;

    EXPECT_NO_THROW(GammaController(256, shared).apply(warm, static_cast<DisplayID>(target->id)));
    EXPECT_NE(readCrtcGamma(*connection, target->crtc)->blue.back(), 65535);
}

TEST_F(GammaControllerTest, UnreachableServerIsReported) {
    EXPECT_THROW(GammaController(256, ":4093").apply(ColorAdjustment::neutral(), 1),
                 DisplayControlError);
}

}  // namespace
}  // namespace quorvane
