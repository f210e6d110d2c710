// The tests' own stoppable X server must look dead once stopped, to every
// client: the tests that stop it check what the program does then, and a
// client left waiting would hang them instead.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "x11/private_x_server.hpp"
#include "x11/stand_in_x_socket.hpp"

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

}  // namespace
}  // namespace quorvane
