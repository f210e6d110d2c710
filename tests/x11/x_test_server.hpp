#pragma once

#include <X11/Xatom.h>
#include <gtest/gtest.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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

// An output lit in the world every test starts from, as start-xserver
// lights it: its mode's name and its place on the screen's top edge.
struct HarnessOutput {
    const char* name;
    const char* mode;
    int x;
};
inline constexpr HarnessOutput kHarnessOutputs[] = {
    {"DUMMY0", "1920x1080_60.00", 0},
    {"DUMMY1", "1280x720_60.00", 1920},
    {"DUMMY2", "1600x900_60.00", 3200},
};
// The screen those three span; DUMMY0 is the primary.
inline constexpr int kStandardScreenWidth = 4800;
inline constexpr int kStandardScreenHeight = 1080;

// An output as plain Xlib reports it: the test's own reading, apart from the
// code under test.
struct PlainOutput {
    std::string name;
    RROutput id = None;
    RRCrtc crtc = None;
    std::string mode;
    int x = 0;
    int y = 0;
    Rotation rotation = RR_Rotate_0;
};

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
        // Whatever an earlier test (or test program) left behind.
        restoreWorld();
    }

    // Puts the server back as start-xserver lit it, reading and writing it
    // with plain Xlib and xrandr only: a fault in the code under test (its
    // output reader, its ramp writes) can fail a test but never leave the
    // next one a world with outputs off, moved or tinted. The outputs are
    // set again only where they differ; every lit output's ramp becomes the
    // identity, and no output has a published colour profile: a test killed
    // before its tear-down would leave the next one a calibration that every
    // neutral write puts on the screen instead of the identity.
    void restoreWorld() {
        withdrawPublishedProfiles();
        if (!isStandardWorld()) {
            std::string command = "xrandr -d '" + displayName + "' --fb " +
                                  std::to_string(kStandardScreenWidth) + "x" +
                                  std::to_string(kStandardScreenHeight);
            for (const auto& lit : plainOutputs()) {
                if (lit.crtc != None && !standard(lit.name))
                    command += " --output " + lit.name + " --off";
            }
            for (const auto& wanted : kHarnessOutputs) {
                command += std::string(" --output ") + wanted.name + " --mode " + wanted.mode +
                           " --pos " + std::to_string(wanted.x) + "x0 --rotate normal";
            }
            command += std::string(" --output ") + kHarnessOutputs[0].name + " --primary";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            ASSERT_TRUE(isStandardWorld()) << "xrandr did not restore the outputs: " << command;
        }
        resetRampsToIdentity();
    }

    // Every output of the screen, as plain Xlib reads it.
    std::vector<PlainOutput> plainOutputs() {
        Display* display = connection->display();
        std::unique_ptr<XRRScreenResources, void (*)(XRRScreenResources*)> resources(
            XRRGetScreenResourcesCurrent(display, connection->root()), XRRFreeScreenResources);
        std::vector<PlainOutput> outputs;
        if (!resources)
            return outputs;
        for (int index = 0; index < resources->noutput; ++index) {
            std::unique_ptr<XRROutputInfo, void (*)(XRROutputInfo*)> info(
                XRRGetOutputInfo(display, resources.get(), resources->outputs[index]),
                XRRFreeOutputInfo);
            if (!info)
                continue;
            PlainOutput output;
            output.name = info->name;
            output.id = resources->outputs[index];
            output.crtc = info->crtc;
            std::unique_ptr<XRRCrtcInfo, void (*)(XRRCrtcInfo*)> crtc(
                info->crtc != None ? XRRGetCrtcInfo(display, resources.get(), info->crtc) : nullptr,
                XRRFreeCrtcInfo);
            if (crtc) {
                output.x = crtc->x;
                output.y = crtc->y;
                output.rotation = crtc->rotation;
                for (int mode = 0; mode < resources->nmode; ++mode) {
                    if (resources->modes[mode].id == crtc->mode)
                        output.mode = resources->modes[mode].name;
                }
            }
            outputs.push_back(std::move(output));
        }
        return outputs;
    }

    // The screen's width and height as the server has them now (Xlib's copy
    // is from connecting).
    std::pair<int, int> rootSize() {
        Window root = 0;
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        unsigned border = 0;
        unsigned depth = 0;
        XGetGeometry(connection->display(), connection->root(), &root, &x, &y, &width, &height,
                     &border, &depth);
        return {static_cast<int>(width), static_cast<int>(height)};
    }

    // The output of this name as plain Xlib reads it (lit or not).
    std::optional<PlainOutput> plainOutput(const std::string& name) {
        for (auto& candidate : plainOutputs()) {
            if (candidate.name == name)
                return candidate;
        }
        return std::nullopt;
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

    // Puts the identity ramp on every lit output, with plain Xlib.
    void resetRampsToIdentity() {
        Display* display = connection->display();
        for (const auto& lit : plainOutputs()) {
            if (lit.crtc == None)
                continue;
            const int size = XRRGetCrtcGammaSize(display, lit.crtc);
            if (size < 2)
                continue;
            std::unique_ptr<XRRCrtcGamma, void (*)(XRRCrtcGamma*)> gamma(XRRAllocGamma(size),
                                                                         XRRFreeGamma);
            const auto identity = GammaRamp::identity(static_cast<std::size_t>(size));
            std::copy(identity.red.begin(), identity.red.end(), gamma->red);
            std::copy(identity.green.begin(), identity.green.end(), gamma->green);
            std::copy(identity.blue.begin(), identity.blue.end(), gamma->blue);
            XRRSetCrtcGamma(display, lit.crtc, gamma.get());
        }
        // Errors of these requests are not the test's.
        connection->sync();
    }

    // Deletes every "_ICC_PROFILE" and "_ICC_PROFILE_<n>" property of the
    // root window, found by name with plain Xlib.
    void withdrawPublishedProfiles() {
        Display* display = connection->display();
        int count = 0;
        std::unique_ptr<Atom, int (*)(void*)> atoms(
            XListProperties(display, connection->root(), &count), XFree);
        const std::string prefix = "_ICC_PROFILE";
        for (int index = 0; atoms && index < count; ++index) {
            std::unique_ptr<char, int (*)(void*)> name(XGetAtomName(display, atoms.get()[index]),
                                                       XFree);
            const std::string text = name ? name.get() : "";
            const bool published =
                text == prefix ||
                (text.starts_with(prefix + "_") && text.size() > prefix.size() + 1 &&
                 std::all_of(text.begin() + static_cast<std::ptrdiff_t>(prefix.size() + 1),
                             text.end(), [](char c) { return c >= '0' && c <= '9'; }));
            if (published)
                XDeleteProperty(display, connection->root(), atoms.get()[index]);
        }
        connection->sync();
    }

    // Switches an output's CRTC off, or on again at its place and mode, from
    // the test's own connection with plain Xlib: what another client (a
    // settings panel, an unplug) does behind the code under test. `output`
    // must have been read with its modes.
    void switchOutput(const RandrOutput& output, bool on) {
        Display* display = connection->display();
        std::unique_ptr<XRRScreenResources, void (*)(XRRScreenResources*)> resources(
            XRRGetScreenResourcesCurrent(display, connection->root()), XRRFreeScreenResources);
        ASSERT_TRUE(resources);
        RROutput id = output.id;
        Status status =
            on ? XRRSetCrtcConfig(display, resources.get(), output.crtc, CurrentTime, output.x,
                                  output.y, output.currentMode->id, RR_Rotate_0, &id, 1)
               : XRRSetCrtcConfig(display, resources.get(), output.crtc, CurrentTime, 0, 0, None,
                                  RR_Rotate_0, nullptr, 0);
        ASSERT_EQ(status, RRSetConfigSuccess);
        ASSERT_FALSE(connection->sync());
    }

    // Switches the output off for the rest of the test; the whole world is
    // put back when it goes (so none may be a temporary).
    struct SwitchedOff {
        XServerTest& test;
        RandrOutput output;
        ~SwitchedOff() { test.restoreWorld(); }
    };

    // Whether the program that owns `window` has read every event the
    // server sent it so far (keys typed, a move told, a request of its own
    // made before them sent on): it reads its events in order and answers
    // a ping (the window manager's question whether a program still
    // responds, sent to one of its windows) once it reads it. `waitFor`
    // waits until what it is given holds, running meanwhile whatever must
    // run for the answer (this process's own event loop, where the window
    // is its own).
    bool caughtUp(Window window, const std::function<bool(const std::function<bool()>&)>& waitFor) {
        Display* display = connection->display();
        const Window root = connection->root();
        const Atom protocols = connection->atom("WM_PROTOCOLS");
        const Atom ping = connection->atom("_NET_WM_PING");
        // The answer goes to the root window, to whoever watches it.
        XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
        XEvent question{};
        question.xclient.type = ClientMessage;
        question.xclient.window = window;
        question.xclient.message_type = protocols;
        question.xclient.format = 32;
        question.xclient.data.l[0] = static_cast<long>(ping);
        question.xclient.data.l[1] = ++pings_;
        question.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(display, window, False, NoEventMask, &question);
        XFlush(display);
        const bool answered = waitFor([&] {
            XEvent answer{};
            while (XCheckTypedWindowEvent(display, root, ClientMessage, &answer)) {
                if (answer.xclient.message_type == protocols &&
                    answer.xclient.data.l[0] == static_cast<long>(ping) &&
                    answer.xclient.data.l[1] == pings_)
                    return true;
            }
            return false;
        });
        XSelectInput(display, root, NoEventMask);
        return answered;
    }

    // The viewable windows of the process `pid` (by _NET_WM_PID).
    std::vector<ShownWindow> viewableWindowsOf(pid_t pid) {
        std::vector<ShownWindow> found;
        collectViewable(connection->root(), pid, found);
        return found;
    }

    std::string displayName;
    std::optional<XConnection> connection;

  private:
    long pings_ = 0;

    static bool standard(const std::string& name) {
        for (const auto& wanted : kHarnessOutputs) {
            if (name == wanted.name)
                return true;
        }
        return false;
    }

    bool isStandardWorld() {
        Display* display = connection->display();
        if (rootSize() != std::pair{kStandardScreenWidth, kStandardScreenHeight})
            return false;
        const RROutput primary = XRRGetOutputPrimary(display, connection->root());
        std::size_t found = 0;
        for (const auto& output : plainOutputs()) {
            const HarnessOutput* wanted = nullptr;
            for (const auto& candidate : kHarnessOutputs) {
                if (output.name == candidate.name)
                    wanted = &candidate;
            }
            if (wanted == nullptr) {
                if (output.crtc != None)
                    return false;
                continue;
            }
            if (output.crtc == None || output.mode != wanted->mode || output.x != wanted->x ||
                output.y != 0 || output.rotation != RR_Rotate_0 ||
                (wanted == &kHarnessOutputs[0]) != (output.id == primary))
                return false;
            ++found;
        }
        return found == std::size(kHarnessOutputs);
    }

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
