// The windowed application end to end on the private X server: the real
// program with a private home, later launches handing over to it, the socket
// surviving bad clients, and the outputs handed back on SIGTERM. Effects of
// the other process are polled with deadlines.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>

#include "models/settings/quorvane_preferences.hpp"
#include "x11/application_process.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

using testing::eventually;
using testing::LaunchedProcess;

// A client of the instance socket that the test drives byte by byte.
class RawSocket {
  public:
    explicit RawSocket(const std::filesystem::path& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawSocket() { ::close(fd_); }
    bool connected() const { return connected_; }
    void send(const std::string& bytes) const {
        (void)::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // Whether the other side closed the connection within `timeout`.
    bool closedByPeer(std::chrono::milliseconds timeout) const {
        return eventually(
            [this] {
                pollfd entry{fd_, POLLIN, 0};
                if (::poll(&entry, 1, 0) <= 0)
                    return false;
                char buffer[256];
                return ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT) <= 0;
            },
            timeout);
    }

  private:
    int fd_ = -1;
    bool connected_ = false;
};

std::string header(std::uint32_t length) {
    return {static_cast<char>(length >> 24), static_cast<char>((length >> 16) & 0xFF),
            static_cast<char>((length >> 8) & 0xFF), static_cast<char>(length & 0xFF)};
}

class ApplicationTest : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QuorvanePreferences preferences;
        preferences.urlPresetAutomationEnabled = true;
        home.writePreferences(*preferences.encoded());
        // A freshly started server's ramps are its own, not necessarily our
        // identity ramp, and the first test on it must not depend on that.
        resetRampsToIdentity();
    }

    void TearDown() override {
        first.reset();
        if (connection)
            resetRampsToIdentity();
    }

    std::unique_ptr<LaunchedProcess> launch(std::vector<std::string> arguments = {}) {
        return std::make_unique<LaunchedProcess>(QUORVANE_EXECUTABLE, std::move(arguments),
                                                 home.environment(displayName), home.log());
    }

    std::filesystem::path socketPath() const {
        std::string part = displayName;
        for (char& c : part)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
                c = '_';
        return home.runtimeFolder() / ("quorvane-" + part + ".socket");
    }

    // Starts the first instance and waits until it serves its socket.
    void startFirst() {
        first = launch();
        ASSERT_TRUE(eventually([&] { return std::filesystem::exists(socketPath()); }))
            << home.logText();
    }

    bool showsIdentity(const char* name) {
        auto current = currentRamp(name);
        return current && *current == GammaRamp::identity(current->size());
    }

    testing::ApplicationHome home;
    std::unique_ptr<LaunchedProcess> first;
};

TEST_F(ApplicationTest, ALaterLaunchWithAPresetURLChangesTheRampsOfTheRunningInstance) {
    startFirst();
    ASSERT_TRUE(eventually([&] { return showsIdentity("DUMMY1"); }));

    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    // The night preset warms the screen: blue falls below red mid-ramp.
    ASSERT_TRUE(eventually([&] {
        auto current = currentRamp("DUMMY1");
        return current && current->blue[current->size() / 2] < current->red[current->size() / 2];
    })) << home.logText();
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, ALaterLaunchWithoutArgumentsEndsAndLeavesOneInstance) {
    startFirst();
    auto second = launch();
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    auto third = launch();
    EXPECT_EQ(third->waitFor(), 0) << home.logText();
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, BadClientsAreDroppedAndTheInstanceKeepsServing) {
    startFirst();
    // Announces 4 GiB, then an oversized frame, then an unknown message.
    RawSocket huge(socketPath());
    ASSERT_TRUE(huge.connected());
    huge.send(header(0xFFFFFFFF) + "garbage");
    EXPECT_TRUE(huge.closedByPeer(std::chrono::seconds(10)));

    RawSocket oversized(socketPath());
    oversized.send(header(64 * 1024 + 1) + std::string(70 * 1024, 'x'));
    EXPECT_TRUE(oversized.closedByPeer(std::chrono::seconds(10)));

    RawSocket unknown(socketPath());
    unknown.send(header(5) + "hello");
    EXPECT_TRUE(unknown.closedByPeer(std::chrono::seconds(10)));

    // A client that says nothing neither blocks a real launch nor stays.
    RawSocket silent(socketPath());
    ASSERT_TRUE(silent.connected());
    auto second = launch();
    EXPECT_EQ(second->waitFor(), 0) << home.logText();
    EXPECT_TRUE(silent.closedByPeer(std::chrono::seconds(10)));
    EXPECT_TRUE(first->running());
}

TEST_F(ApplicationTest, SIGTERMHandsTheOutputsBackAndEndsCleanly) {
    startFirst();
    auto second = launch({"quorvane://apply-safe-preset?preset=night&scope=all-visible"});
    ASSERT_EQ(second->waitFor(), 0) << home.logText();
    ASSERT_TRUE(eventually([&] { return !showsIdentity("DUMMY2"); }));

    first->signal(SIGTERM);
    EXPECT_EQ(first->waitFor(), 0) << home.logText();
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"})
        EXPECT_TRUE(showsIdentity(name)) << name;
    // Quitting changed no saved setting: the next start shows the preset again.
}

TEST_F(ApplicationTest, AStaleSocketFromACrashIsTakenOver) {
    startFirst();
    first->signal(SIGKILL);
    ASSERT_TRUE(first->waitFor());
    // The socket file stays behind; the next launch must not hand over to it.
    ASSERT_TRUE(std::filesystem::exists(socketPath()));
    auto next = launch();
    ASSERT_TRUE(eventually([&] {
        RawSocket probe(socketPath());
        return probe.connected();
    })) << home.logText();
    EXPECT_TRUE(next->running());
}

}  // namespace
}  // namespace quorvane
