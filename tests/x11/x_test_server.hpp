#pragma once

#include <X11/Xatom.h>
#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

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

// A top-level window of another program as the server shows it, in root
// coordinates.
struct ShownWindow {
    Window id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

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

    // The same ramp for comparing, empty when it cannot be read.
    GammaRamp rampOf(const std::string& name) { return currentRamp(name).value_or(GammaRamp{}); }

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

    // The viewable windows of the process `pid` (by _NET_WM_PID).
    std::vector<ShownWindow> viewableWindowsOf(pid_t pid) {
        std::vector<ShownWindow> found;
        collectViewable(connection->root(), pid, found);
        return found;
    }

    std::string displayName;
    std::optional<XConnection> connection;

  private:
    long windowPid(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(connection->display(), window, connection->atom("_NET_WM_PID"), 0, 1,
                               False, XA_CARDINAL, &type, &format, &count, &remaining,
                               &data) == Success &&
            data && format == 32 && count == 1)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return pid;
    }

    void collectViewable(Window window, pid_t pid, std::vector<ShownWindow>& found) {
        Display* display = connection->display();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count))
            return;
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable) {
                if (windowPid(children[i]) == pid) {
                    int x = 0;
                    int y = 0;
                    Window child = 0;
                    XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
                    found.push_back({children[i], x, y, attributes.width, attributes.height});
                }
            }
            collectViewable(children[i], pid, found);
        }
        if (children)
            XFree(children);
    }
};

}  // namespace quorvane::testing
