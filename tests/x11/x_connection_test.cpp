#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/linux/x_connection.hpp"

#include <string>

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

}  // namespace
}  // namespace quorvane
