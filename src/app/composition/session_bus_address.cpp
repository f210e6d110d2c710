#include "app/composition/session_bus_address.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "services/persistence/rights/process_rights.hpp"

namespace quorvane {

std::optional<std::string> SessionBusAddress::toSet(bool beyondOneUser, const char* named,
                                                    std::optional<uid_t> homeOwner, uid_t user) {
    if (!beyondOneUser || (named && *named) || homeOwner == user)
        return std::nullopt;
    return kNone;
}

std::optional<std::string> SessionBusAddress::toSetForThisProcess() {
    const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    // The usual start, a bus named: nothing else to look at.
    if (named && *named)
        return std::nullopt;
    const uid_t user = ::geteuid();
    std::optional<uid_t> homeOwner = user;
    if (const char* home = std::getenv("HOME")) {
        struct stat status {};
        homeOwner = ::stat(home, &status) == 0 ? std::optional(status.st_uid) : std::nullopt;
    }
    return toSet(ProcessRights::ofThisProcess().beyondOneUser, named, homeOwner, user);
}

}  // namespace quorvane
