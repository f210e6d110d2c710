#include "app/composition/session_bus_address.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct BusCase {
    const char* name;
    bool beyondOneUser;
    const char* named;
    std::optional<uid_t> homeOwner;
    bool launchKeptOut;
};

// Only where libdbus would start a bus with rights beyond the home's user.
TEST(SessionBusAddressTest, ABusIsKeptFromStartingOnlyWithRightsBeyondTheHomesUser) {
    constexpr uid_t kRoot = 0;
    const BusCase cases[] = {
        {"root, another user's home", true, nullptr, 1000, true},
        {"root, an empty address", true, "", 1000, true},
        {"root, a home that cannot be told", true, nullptr, std::nullopt, true},
        {"root, a bus named", true, "unix:path=/run/user/1000/bus", 1000, false},
        {"root, its own home", true, nullptr, kRoot, false},
        {"one user's rights", false, nullptr, 1000, false},
    };
    for (const auto& row : cases) {
        const auto address =
            SessionBusAddress::toSet(row.beyondOneUser, row.named, row.homeOwner, kRoot);
        EXPECT_EQ(address.has_value(), row.launchKeptOut) << row.name;
        if (address) {
            EXPECT_EQ(*address, SessionBusAddress::kNone) << row.name;
        }
    }
}

}  // namespace
}  // namespace quorvane
