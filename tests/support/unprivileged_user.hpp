#pragma once

#include <grp.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "services/persistence/rights/process_rights.hpp"

namespace quorvane::testing {

// The user a root test acts as where permission checks must bite: "nobody"
// where this namespace has that second user to become (root of the system),
// and root itself, stripped of its capabilities, where it has none (root of
// a user namespace that maps one user: its files are its own, so without a
// capability over files a mode-000 file or a read-only folder refuses it as
// it refuses their owner).
constexpr uid_t kNobodyUser = 65534;

inline bool rootHasASecondUser() {
    return ::geteuid() == 0 && ProcessRights::ofThisProcess().mapsUser(kNobodyUser) &&
           ProcessRights::ofThisProcess().mapsGroup(kNobodyUser);
}

// Who owns the files given to the unprivileged user: none to give where
// the test is that user already.
inline bool filesGoToNobody() {
    return rootHasASecondUser();
}

// Makes this process (a forked child) the unprivileged user; false when it
// could not. A process that is not root already is one.
inline bool becomeUnprivilegedUser() {
    if (::geteuid() != 0)
        return true;
    if (rootHasASecondUser())
        return ::setgroups(0, nullptr) == 0 &&
               ::setresgid(kNobodyUser, kNobodyUser, kNobodyUser) == 0 &&
               ::setresuid(kNobodyUser, kNobodyUser, kNobodyUser) == 0;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3]{};
    return ::syscall(SYS_capset, &header, none) == 0;
}

}  // namespace quorvane::testing
