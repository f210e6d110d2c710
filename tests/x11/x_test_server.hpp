#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/randr_screen.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane::testing {

// The private X server that scripts/test starts (Xorg with the dummy
// driver: DUMMY0 1920x1080 at 0,0 and primary, DUMMY1 1280x720 at 1920,0,
// DUMMY2 1600x900 at 3200,0).
inline std::optional<std::string> testDisplayName() {
    const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
    if (name == nullptr || *name == '\0') {
        return std::nullopt;
    }
    return std::string(name);
}

// Base fixture: skips without a test server and opens a connection of the
// test's own for setting up and checking.
class XServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto name = testDisplayName();
        if (!name) {
            GTEST_SKIP() << "QUORVANE_TEST_DISPLAY is not set";
        }
        displayName = *name;
        connection = XConnection::open(displayName);
        ASSERT_TRUE(connection) << "cannot open " << displayName;
    }

    // The active output with this name, read afresh.
    std::optional<RandrOutput> output(const std::string& name, bool includeModes = false) {
        auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
        if (!screen) {
            return std::nullopt;
        }
        for (auto& candidate : screen->activeOutputs(includeModes)) {
            if (candidate.name == name) {
                return candidate;
            }
        }
        return std::nullopt;
    }

    // The gamma ramp on the output with this name; none when the output or
    // its ramp cannot be read.
    std::optional<GammaRamp> currentRamp(const std::string& name) {
        auto target = output(name);
        return target ? readCrtcGamma(*connection, target->crtc) : std::nullopt;
    }

    // Puts the identity ramp on every lit output.
    void resetRampsToIdentity() {
        for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"}) {
            if (auto target = output(name))
                writeCrtcGamma(*connection, target->crtc,
                               GammaRamp::identity(crtcGammaSize(*connection, target->crtc)));
        }
    }

    // Switches an output's CRTC off, or on again at its place and mode, from
    // the test's own connection: what another client (a settings panel, an
    // unplug) does behind the code under test. `output` must have been read
    // with its modes.
    void switchOutput(const RandrOutput& output, bool on) {
        auto screen = RandrScreen::read(*connection, RandrScreen::Probe::cached);
        ASSERT_TRUE(screen);
        RROutput id = output.id;
        Status status =
            on ? XRRSetCrtcConfig(connection->display(), screen->resources(), output.crtc,
                                  CurrentTime, output.x, output.y, output.currentMode->id,
                                  RR_Rotate_0, &id, 1)
               : XRRSetCrtcConfig(connection->display(), screen->resources(), output.crtc,
                                  CurrentTime, 0, 0, None, RR_Rotate_0, nullptr, 0);
        ASSERT_EQ(status, RRSetConfigSuccess);
        ASSERT_FALSE(connection->sync());
    }

    // Switches the output off for the rest of the test and on again after it.
    struct SwitchedOff {
        XServerTest& test;
        RandrOutput output;
        ~SwitchedOff() { test.switchOutput(output, true); }
    };

    std::string displayName;
    std::optional<XConnection> connection;
};

}  // namespace quorvane::testing
