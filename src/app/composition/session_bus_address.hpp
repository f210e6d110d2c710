#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace quorvane {

// Without a session bus named, libdbus starts one itself on the first D-Bus
// call (Qt's tray, theme and screen reader bridge make one as the
// application starts): dbus-launch writes the bus's address into
// $HOME/.dbus with this process's rights, following whatever links are on
// that way. Root run with a user's environment (`sudo -E` without a bus)
// would so write through that user's links into files only root may touch.
struct SessionBusAddress {
    // What libdbus reads for an address that names no bus it can reach: it
    // then starts none and D-Bus is simply not there (the tray is the X
    // one, the theme Qt's own).
    static constexpr const char* kNone = "disabled:";

    // The address to set before the first D-Bus call, none where libdbus may
    // be left as it is: a bus named already, a process holding one user's
    // rights, or a home its own user owns. `homeOwner` is the owner of $HOME,
    // none where it could not be told (told as this process's user where
    // $HOME is unset: libdbus then takes this user's own home).
    static std::optional<std::string> toSet(bool beyondOneUser, const char* named,
                                            std::optional<uid_t> homeOwner, uid_t user);

    // The same for this process, from its rights, its environment and the
    // owner of its home.
    static std::optional<std::string> toSetForThisProcess();
};

}  // namespace quorvane
