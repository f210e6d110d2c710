// The tests' own X servers: the stoppable one must look dead once stopped,
// to every client (the tests that stop it check what the program does then,
// and a client left waiting would hang them instead); the shared one is
// put back as it was lit, whatever a test left.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/linux/gamma_controller.hpp"
#include "support/icc_test_profiles.hpp"
#include "x11/private_x_server.hpp"
#include "x11/stand_in_x_socket.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

// A client socket connected to the server's abstract socket (the one X
// clients try first); -1 when the connection was refused.
int connectTo(const std::string& display) {
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto [address, length] = testing::xSocketAddress(std::stoi(display.substr(1)));
    if (client >= 0 &&
        ::connect(client, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        ::close(client);
        return -1;
    }
    return client;
}

// A client that connected just before the kill, while the server had not
// taken it in yet (it is held still here, so it cannot), must read the end
// of its connection, as from a server that died, not wait for the set-up
// reply forever.
TEST(PrivateXServerTest, AClientNotYetTakenInWhenTheServerIsKilledSeesItsConnectionEnd) {
    testing::PrivateXServer server;
    if (server.display().empty())
        GTEST_SKIP() << "no private X server could be started";
    ASSERT_EQ(::kill(server.pid(), SIGSTOP), 0);
    const int client = connectTo(server.display());
    ASSERT_GE(client, 0);
    // The start of a set-up request: byte order, protocol 11.0, no
    // authorisation.
    const std::array<std::uint8_t, 12> setUp = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(testing::sendAllBytes(client, setUp.data(), setUp.size()));

    server.stop();

    // Only a failing run waits the whole time.
    pollfd waiting{client, POLLIN, 0};
    EXPECT_EQ(::poll(&waiting, 1, 10000), 1);
    // The end (or a reset, as the request went unread), never a reply and
    // never still nothing.
    std::array<std::uint8_t, 8> reply{};
    const ssize_t got = ::recv(client, reply.data(), reply.size(), MSG_DONTWAIT);
    EXPECT_TRUE(got == 0 || (got < 0 && errno != EAGAIN)) << got << " " << std::strerror(errno);
    ::close(client);

    // And its number stays taken: a new client is refused.
    const int late = connectTo(server.display());
    EXPECT_LT(late, 0);
    if (late >= 0)
        ::close(late);
}

using TestWorldTest = testing::XServerTest;

// Outputs a test (or a fault in the code under test) left off, moved, in
// another mode, with another primary and a tinted ramp: the fixture puts
// them back without the program's own reader or writer, so the next test
// starts in the world start-xserver lit.
TEST_F(TestWorldTest, AWorldATestLeftAskewIsPutBackAsItWasLit) {
    const auto expectAsLit = [&](const std::string& askew) {
        for (const auto& lit : testing::kHarnessOutputs) {
            const auto found = plainOutput(lit.name);
            ASSERT_TRUE(found) << askew << ": " << lit.name;
            EXPECT_EQ(found->mode, lit.mode) << askew << ": " << lit.name;
            EXPECT_EQ(found->x, lit.x) << askew << ": " << lit.name;
            EXPECT_EQ(found->y, 0) << askew << ": " << lit.name;
        }
        EXPECT_EQ(XRRGetOutputPrimary(connection->display(), connection->root()),
                  plainOutput("DUMMY0")->id)
            << askew;
        EXPECT_EQ(rootSize(),
                  std::pair(testing::kStandardScreenWidth, testing::kStandardScreenHeight))
            << askew;
    };
    // Each alone, so that none is put back only because another was.
    for (const std::string askew :
         {"--output DUMMY2 --off", "--output DUMMY1 --pos 0x1080",
          "--output DUMMY1 --mode 1024x768", "--output DUMMY1 --primary", "--fb 5000x1200"}) {
        const std::string command = "xrandr -d '" + displayName + "' " + askew;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        restoreWorld();
        expectAsLit(askew);
    }

    const auto tinted = plainOutput("DUMMY0");
    ASSERT_TRUE(tinted && tinted->crtc != None);
    const int size = XRRGetCrtcGammaSize(connection->display(), tinted->crtc);
    ASSERT_GT(size, 1);
    std::unique_ptr<XRRCrtcGamma, void (*)(XRRCrtcGamma*)> dark(XRRAllocGamma(size), XRRFreeGamma);
    XRRSetCrtcGamma(connection->display(), tinted->crtc, dark.get());
    restoreWorld();
    std::unique_ptr<XRRCrtcGamma, void (*)(XRRCrtcGamma*)> ramp(
        XRRGetCrtcGamma(connection->display(), tinted->crtc), XRRFreeGamma);
    ASSERT_TRUE(ramp && ramp->size == size);
    const auto identity = GammaRamp::identity(static_cast<std::size_t>(size));
    EXPECT_EQ(std::vector<std::uint16_t>(ramp->red, ramp->red + size), identity.red);
}

// A calibration a test published and could not withdraw (killed before its
// tear-down) is gone for the next test: a neutral write puts the identity
// ramp on the output again, not that calibration.
TEST_F(TestWorldTest, AProfileATestLeftPublishedIsWithdrawn) {
    const auto calibration = testing::IccTestProfiles::calibrated(1.8, 1.0, 0.6);
    for (const char* name : {"_ICC_PROFILE", "_ICC_PROFILE_1", "_ICC_PROFILE_2"}) {
        XChangeProperty(connection->display(), connection->root(), connection->atom(name),
                        XA_CARDINAL, 8, PropModeReplace, calibration.data(),
                        static_cast<int>(calibration.size()));
    }
    // A property of another name is not a published profile.
    const Atom other = connection->atom("_ICC_PROFILE_IN_X_VERSION");
    const unsigned char version[] = {4};
    XChangeProperty(connection->display(), connection->root(), other, XA_CARDINAL, 8,
                    PropModeReplace, version, 1);
    ASSERT_FALSE(connection->sync());

    restoreWorld();

    const auto target = output("DUMMY1");
    ASSERT_TRUE(target);
    GammaController controller(GammaController::kStandardTableSize, displayName);
    controller.apply(ColorAdjustment::neutral(), static_cast<DisplayID>(target->id));
    const auto ramp = rampOf("DUMMY1");
    EXPECT_EQ(ramp, GammaRamp::identity(ramp.size()));
    for (const char* name : {"_ICC_PROFILE", "_ICC_PROFILE_1", "_ICC_PROFILE_2"}) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(connection->display(), connection->root(), connection->atom(name), 0, 1,
                           False, AnyPropertyType, &type, &format, &count, &remaining, &data);
        XFree(data);
        EXPECT_EQ(type, static_cast<Atom>(None)) << name;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(connection->display(), connection->root(), other, 0, 1, False,
                       AnyPropertyType, &type, &format, &count, &remaining, &data);
    XFree(data);
    EXPECT_EQ(count, 1u);
    XDeleteProperty(connection->display(), connection->root(), other);
    connection->sync();
}

}  // namespace
}  // namespace quorvane
