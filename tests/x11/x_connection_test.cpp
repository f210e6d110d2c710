#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/linux/x_connection.hpp"

#include <chrono>
#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <thread>

#include "x11/cutting_x_proxy.hpp"
#include "x11/vanishing_x_server.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

using XConnectionTest = testing::XServerTest;

// The kept connection remembers atoms; one that did not exist yet when first
// asked (a colour profile another program publishes later) must still be
// found once it does.
TEST_F(XConnectionTest, AnAtomMissingAtFirstIsFoundOnceAnotherClientCreatesIt) {
    const std::string name = "_QUORVANE_TEST_LATE_" + std::to_string(::getpid());
    auto kept = XConnection::open(displayName);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->atom(name.c_str(), true), static_cast<Atom>(None));

    const Atom created = connection->atom(name.c_str());
    ASSERT_NE(created, static_cast<Atom>(None));
    ASSERT_FALSE(connection->sync());

    EXPECT_EQ(kept->atom(name.c_str(), true), created);
}

// Several requests answered after one wait: each gets the error the server
// reported for it, and only that one.
TEST_F(XConnectionTest, RequestsWaitedForTogetherEachGetTheirOwnError) {
    auto target = output("DUMMY1");
    ASSERT_TRUE(target);
    const auto size = crtcGammaSize(*connection, target->crtc);
    const auto right = sendCrtcGamma(*connection, target->crtc, GammaRamp::identity(size));
    const auto wrong = sendCrtcGamma(*connection, target->crtc, GammaRamp::identity(17));
    const auto again = sendCrtcGamma(*connection, target->crtc, GammaRamp::identity(size));
    ASSERT_TRUE(right && wrong && again);

    const auto answers = connection->syncEach({*right, *wrong, *again});

    ASSERT_EQ(answers.size(), 3u);
    EXPECT_FALSE(answers[0]);
    ASSERT_TRUE(answers[1]);
    EXPECT_EQ(answers[1]->errorCode, BadMatch);
    EXPECT_FALSE(answers[2]);
}

using testing::VanishingXServer;

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Nothing of a half-made connection is left to get in the way of the next
// attempt.
void expectNoServerTwice(const VanishingXServer& server) {
    ASSERT_FALSE(server.display().empty());
    EXPECT_FALSE(XConnection::open(server.display()));
    EXPECT_FALSE(XConnection::open(server.display()));
    EXPECT_EQ(server.vanished(), 2);
}

// Xlib's extension query goes on with a reply that never came as if it had
// come: a server gone at RandR's query leaves the connection lost and RandR
// unknown, and the connection still closes.
TEST_F(XConnectionTest, AServerGoneAtRandrsQueryIsALostConnectionWithoutRandr) {
    using Cut = testing::CuttingXProxy::Cut;
    int opening = 0;
    {
        testing::CuttingXProxy counting(displayName, Cut{std::nullopt, std::nullopt, 0});
        ASSERT_TRUE(XConnection::open(counting.display()));
        opening = counting.requests();
    }
    // The first request after the set-up is RandR's QueryExtension.
    testing::CuttingXProxy proxy(displayName, Cut{std::nullopt, std::nullopt, opening + 1});
    auto cut = XConnection::open(proxy.display());
    ASSERT_TRUE(cut);
    int eventBase = -1;
    int errorBase = -1;
    EXPECT_FALSE(cut->queryRandr(eventBase, errorBase));
    EXPECT_EQ(proxy.cuts(), 1);
    EXPECT_TRUE(cut->lost());
    EXPECT_EQ(eventBase, -1);
    EXPECT_EQ(errorBase, -1);
    EXPECT_EQ(cut->sync(), (XProtocolError{kXServerUnreachableCode, 0, 0}));
    // Xlib gave this thread the connection's lock when it met the loss;
    // another thread may still look at the events Xlib holds, as the
    // kept connection of the application does.
    std::promise<void> looked;
    auto done = looked.get_future();
    std::thread other([&cut, &looked] {
        XEventsQueued(cut->display(), QueuedAlready);
        looked.set_value();
    });
    if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        other.detach();
        FAIL() << "the connection stayed locked for the thread that met the loss";
    }
    other.join();
    cut.reset();

    EXPECT_TRUE(connection->queryRandr(eventBase, errorBase));
    EXPECT_GE(eventBase, 64);
}

// Xlib ends the process when a server goes away, unless the connection is
// ours from before XOpenDisplay until after XCloseDisplay: a command must
// end with its own message however late or early the server dies. A
// connection that lost its server while being set up keeps no socket open.
TEST(XConnectionServerLoss, AServerGoneWhileTheConnectionIsSetUpIsNoServer) {
    const std::size_t before = openDescriptors();
    for (const auto moment :
         {VanishingXServer::Moment::settingUp, VanishingXServer::Moment::finishingSetUp}) {
        expectNoServerTwice(VanishingXServer(moment));
        EXPECT_EQ(openDescriptors(), before);
    }
}

// Cut anywhere in the reply that sets it up, the connection fails in xcb
// alone; cut right after the reply, Xlib meets the loss at XOpenDisplay's
// first request, before the display has even its default graphics contexts.
TEST(XConnectionServerLoss, AServerGoneAtAnyByteOfTheSetUpReplyIsNoServer) {
    const std::size_t whole = VanishingXServer::setupReplySize();
    const std::size_t before = openDescriptors();
    for (const std::size_t bytes :
         {std::size_t{0}, std::size_t{1}, std::size_t{8}, whole / 2, whole - 1, whole}) {
        SCOPED_TRACE(bytes);
        expectNoServerTwice(VanishingXServer(VanishingXServer::Moment::answeringSetUp, bytes));
        EXPECT_EQ(openDescriptors(), before);
    }
}

TEST(XConnectionServerLoss, AServerGoneWhileTheConnectionClosesEndsNothing) {
    VanishingXServer server(VanishingXServer::Moment::closing);
    ASSERT_FALSE(server.display().empty());
    for (int round = 0; round < 2; ++round) {
        auto connection = XConnection::open(server.display());
        ASSERT_TRUE(connection);
        EXPECT_FALSE(connection->sync());
        EXPECT_FALSE(connection->lost());
    }
    EXPECT_EQ(server.vanished(), 2);
}

// Xlib keeps a lost connection locked for the thread that met the loss; the
// thread that closes it may be another one.
TEST(XConnectionServerLoss, AConnectionLostOnOneThreadClosesOnAnother) {
    VanishingXServer server(VanishingXServer::Moment::inUse);
    ASSERT_FALSE(server.display().empty());
    auto connection = XConnection::open(server.display());
    ASSERT_TRUE(connection);
    // The thread that meets the loss is still alive while another closes.
    std::promise<void> met;
    std::promise<void> closed;
    auto shared = std::make_shared<std::shared_future<void>>(closed.get_future().share());
    std::thread user([&connection, &met, shared] {
        EXPECT_EQ(connection->sync(), (XProtocolError{kXServerUnreachableCode, 0, 0}));
        met.set_value();
        shared->wait();
    });
    met.get_future().wait();
    EXPECT_TRUE(connection->lost());

    std::thread closer([&connection, &closed] {
        connection.reset();
        closed.set_value();
    });
    if (shared->wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        closer.detach();
        user.detach();
        FAIL() << "closing the lost connection never returned";
    }
    closer.join();
    user.join();
    EXPECT_EQ(server.vanished(), 1);
}

// A display another library opened itself, whose loss that library handles
// (Qt does both).
std::set<Display*>& foreignLosses() {
    static std::set<Display*> losses;
    return losses;
}

int recordForeignLoss(Display* display) {
    foreignLosses().insert(display);
    return 0;
}

void keepRunning(Display*, void*) {}

TEST(XConnectionServerLoss, AHandlerAnotherLibrarySetsLaterServesOnlyItsOwnConnections) {
    VanishingXServer server(VanishingXServer::Moment::closing);
    ASSERT_FALSE(server.display().empty());
    auto first = XConnection::open(server.display());
    ASSERT_TRUE(first);
    // As a toolkit does when it starts after the first connection of ours.
    const XIOErrorHandler before = XSetIOErrorHandler(&recordForeignLoss);
    Display* foreign = XOpenDisplay(server.display().c_str());
    ASSERT_NE(foreign, nullptr);
    XSetIOErrorExitHandler(foreign, &keepRunning, nullptr);

    auto second = XConnection::open(server.display());
    ASSERT_TRUE(second);
    second.reset();
    first.reset();
    EXPECT_TRUE(foreignLosses().empty());
    XCloseDisplay(foreign);
    EXPECT_EQ(foreignLosses(), std::set<Display*>{foreign});
    EXPECT_EQ(server.vanished(), 3);
    XSetIOErrorHandler(before);
}

}  // namespace
}  // namespace quorvane
