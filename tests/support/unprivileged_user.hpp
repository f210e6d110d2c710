#pragma once

#include <grp.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

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

// Makes this process (a forked child of a root test) `user` of `group`
// holding only `capabilities` (CAP_* numbers), as `setpriv --reuid
// --ambient-caps` leaves a backup agent; false when it could not.
inline bool holdCapabilitiesAs(uid_t user, gid_t group, std::initializer_list<int> capabilities) {
    if (::prctl(PR_SET_KEEPCAPS, 1) != 0 || ::setgroups(0, nullptr) != 0 ||
        ::setresgid(group, group, group) != 0 || ::setresuid(user, user, user) != 0)
        return false;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct held[_LINUX_CAPABILITY_U32S_3]{};
    for (const int capability : capabilities) {
        held[capability / 32].effective |= 1u << (capability % 32);
        held[capability / 32].permitted |= 1u << (capability % 32);
    }
    return ::syscall(SYS_capset, &header, held) == 0;
}

// Runs `body` in a forked child made root of a user namespace of its own
// whose ids this process (root of the system, which may map any) maps by
// `users` and `groups` (lines of uid_map and gid_map), and returns what it
// produced; "skip: why" where no such namespace can be made here.
inline std::string outputInUserNamespace(const std::string& users, const std::string& groups,
                                         const std::function<std::string()>& body) {
    int ready[2];
    int mapped[2];
    int output[2];
    if (::pipe(ready) != 0 || ::pipe(mapped) != 0 || ::pipe(output) != 0)
        return "skip: no pipes";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        ::close(mapped[1]);
        ::close(output[0]);
        const char unshared = ::unshare(CLONE_NEWUSER) == 0 ? 1 : 0;
        const std::string why = std::strerror(errno);
        char done = 0;
        const bool told = ::write(ready[1], &unshared, 1) == 1;
        const std::string produced = !unshared ? "skip: " + why
                                     : !told || ::read(mapped[0], &done, 1) != 1 || done == 0
                                         ? std::string("skip: the ids could not be mapped")
                                         : body();
        const bool written = ::write(output[1], produced.data(), produced.size()) ==
                             static_cast<ssize_t>(produced.size());
        ::_exit(written ? 0 : 3);
    }
    ::close(ready[1]);
    ::close(mapped[0]);
    ::close(output[1]);
    char unshared = 0;
    bool told = true;
    // A child that made no namespace waits for no map.
    if (child > 0 && ::read(ready[0], &unshared, 1) == 1 && unshared != 0) {
        const auto map = [child](const char* file, const std::string& ids) {
            std::ofstream to("/proc/" + std::to_string(child) + "/" + file);
            to << ids << std::flush;
            return to.good();
        };
        const char done = map("uid_map", users) && map("gid_map", groups) ? 1 : 0;
        told = ::write(mapped[1], &done, 1) == 1;
    }
    ::close(mapped[1]);
    ::close(ready[0]);
    std::string produced;
    char buffer[4096];
    for (ssize_t count; (count = ::read(output[0], buffer, sizeof buffer)) > 0;)
        produced.append(buffer, static_cast<std::size_t>(count));
    ::close(output[0]);
    int status = 0;
    if (child < 0 || !told || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return "<child failed>";
    return produced;
}

}  // namespace quorvane::testing
