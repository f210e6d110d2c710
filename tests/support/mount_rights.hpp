#pragma once

#include <fcntl.h>
#include <linux/capability.h>
#include <linux/nsfs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace quorvane::testing {

// Mounts a test makes as whichever user runs it. Root mounts where it is
// (root of a user namespace, in a mount namespace it owns);
// anyone else first takes this process into a user and mount namespace of
// its own (its user and group ids kept as they are), where it may mount
// what the kernel lets such a namespace mount: a tmpfs, a FUSE file system.
// The process keeps only the right to mount there, and uses it only while
// it mounts: the files of its tests are checked against the user, as before.
class MountRights {
  public:
    // How a refusal begins that is the test program's own fault, not the
    // machine's: it asked for a namespace too late. A case fails on it.
    static inline const std::string threadsRunning = "this process already runs threads";

    static bool refusedTooLate(const std::string& refusal) {
        return refusal.starts_with(threadsRunning);
    }

    // Nothing once this process may mount, else why the kernel refuses it.
    static std::optional<std::string> gain() {
        const auto held = capabilities();
        if (!held)
            return "capget: " + std::string(std::strerror(errno));
        if (has(held->effective) || has(held->permitted))
            return mountNamespaceOfItsOwn();
        const auto uid = std::to_string(::geteuid());
        const auto gid = std::to_string(::getegid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return namespaceRefused("this user a user and mount namespace", errno);
        if (!writeTo("/proc/self/setgroups", "deny") ||
            !writeTo("/proc/self/uid_map", uid + " " + uid + " 1") ||
            !writeTo("/proc/self/gid_map", gid + " " + gid + " 1")) {
            return "the kernel refuses the new user namespace its user ids";
        }
        // Nothing mounted here is seen outside, nor stays after the process.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return "the kernel refuses mounts in this user's own namespace (" +
                   std::string(std::strerror(errno)) + ")";
        }
        if (!keepOnlyTheRightToMount())
            return "capset: " + std::string(std::strerror(errno));
        return std::nullopt;
    }

    // A tmpfs of `size` over `folder`, with the folder's owner and mode (a
    // new tmpfs is everyone's to write, 1777, which root's saves refuse):
    // nothing, or why not.
    static std::optional<std::string> mountTmpfs(const std::filesystem::path& folder,
                                                 const std::string& size) {
        if (auto refused = gain())
            return refused;
        const InEffect inEffect;
        // Seen as the namespace the mount is made in sees them.
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0)
            return "stat: " + std::string(std::strerror(errno));
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", info.st_mode & 07777);
        const auto options = "size=" + size + ",mode=" + mode +
                             ",uid=" + std::to_string(info.st_uid) +
                             ",gid=" + std::to_string(info.st_gid);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
            return "the kernel refuses a tmpfs here (" + std::string(std::strerror(errno)) + ")";
        return std::nullopt;
    }

    // Runs a shell command that mounts (its programs hold the right to) and
    // returns its status; -1 where no mount can be made.
    static int run(const std::string& command) {
        if (gain())
            return -1;
        const bool passedOn =
            ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_RAISE, CAP_SYS_ADMIN, 0, 0) == 0;
        const int status = std::system(command.c_str());
        if (passedOn)
            ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_LOWER, CAP_SYS_ADMIN, 0, 0);
        return status;
    }

    // Unmounts `folder`, detaching it where it is still in use.
    static void unmount(const std::filesystem::path& folder) {
        const InEffect inEffect;
        if (::umount2(folder.c_str(), 0) != 0)
            ::umount2(folder.c_str(), MNT_DETACH);
    }

  private:
    struct Sets {
        std::uint64_t effective = 0;
        std::uint64_t permitted = 0;
    };

    // The right to mount in effect for as long as it lives, where it is
    // held but not in effect.
    class InEffect {
      public:
        InEffect() : raised_(setEffective(true)) {}
        ~InEffect() {
            if (raised_)
                setEffective(false);
        }
        InEffect(const InEffect&) = delete;
        InEffect& operator=(const InEffect&) = delete;

      private:
        bool raised_;
    };

    // Why unshare(2) gave no `what`, by its true cause: the kernel gives a
    // new namespace only to a process that runs no other thread yet (a
    // test program that needs one takes it in its main(), see gain()), and
    // refuses one outright where user namespaces are switched off or used
    // up.
    static std::string namespaceRefused(const std::string& what, int refusal) {
        if (refusal == EINVAL && (refusal = refusalToOneThread()) == 0)
            return threadsRunning + ", and the kernel gives " + what +
                   " only to a process that runs none: take it before the first thread "
                   "starts (MountRights::gain() in main())";
        if (refusal == ENOSPC || refusal == EUSERS)
            return "this user has used up the user namespaces the kernel allows "
                   "(/proc/sys/user/max_user_namespaces)";
        return "the kernel refuses " + what + " (" + std::string(std::strerror(refusal)) + ")";
    }

    // What the kernel answers a process of one thread that asks for the same
    // namespaces as gain(): 0 where it gives them.
    static int refusalToOneThread() {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 ? 0 : (errno & 0x7f) + 1);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return EINVAL;
        return WEXITSTATUS(status) == 0 ? 0 : WEXITSTATUS(status) - 1;
    }

    static bool has(std::uint64_t set) { return (set >> CAP_SYS_ADMIN) & 1u; }

    // Where the right to mount reaches no mount made here (root of a user
    // namespace, `unshare -r`, among the system's mounts), a mount namespace
    // this user namespace owns, where it does: nothing, or why not.
    static std::optional<std::string> mountNamespaceOfItsOwn() {
        if (ownsItsMounts())
            return std::nullopt;
        if (::unshare(CLONE_NEWNS) != 0)
            return namespaceRefused("this user namespace a mount namespace", errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return "the kernel refuses mounts in this user namespace's own (" +
                   std::string(std::strerror(errno)) + ")";
        }
        return std::nullopt;
    }

    // Whether this process's user namespace owns its mount namespace; true
    // where the kernel cannot tell (then the mount itself says).
    static bool ownsItsMounts() {
        const int mounts = ::open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
        if (mounts < 0)
            return true;
        const int owner = ::ioctl(mounts, NS_GET_USERNS);
        const int refusal = errno;
        ::close(mounts);
        // The owner is outside this namespace, where it may not look.
        if (owner < 0)
            return refusal != EPERM;
        struct stat owners {};
        struct stat own {};
        const bool same = ::fstat(owner, &owners) == 0 && ::stat("/proc/self/ns/user", &own) == 0 &&
                          owners.st_dev == own.st_dev && owners.st_ino == own.st_ino;
        ::close(owner);
        return same;
    }

    static bool writeTo(const char* file, const std::string& text) {
        std::ofstream out(file);
        return static_cast<bool>(out << text << std::flush);
    }

    static std::optional<Sets> capabilities() {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return std::nullopt;
        return Sets{data[0].effective | (std::uint64_t{data[1].effective} << 32),
                    data[0].permitted | (std::uint64_t{data[1].permitted} << 32)};
    }

    static bool store(std::uint64_t effective, std::uint64_t permitted, std::uint64_t inheritable) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        data[0] = {static_cast<std::uint32_t>(effective), static_cast<std::uint32_t>(permitted),
                   static_cast<std::uint32_t>(inheritable)};
        data[1] = {static_cast<std::uint32_t>(effective >> 32),
                   static_cast<std::uint32_t>(permitted >> 32),
                   static_cast<std::uint32_t>(inheritable >> 32)};
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    // Held and passable to the programs run() starts, not in effect.
    static bool keepOnlyTheRightToMount() {
        const std::uint64_t mounting = std::uint64_t{1} << CAP_SYS_ADMIN;
        return store(0, mounting, mounting);
    }

    // Raises (or lowers) the right to mount where it is held but not in
    // effect; true when it raised it.
    static bool setEffective(bool raise) {
        const auto held = capabilities();
        if (!held || !has(held->permitted) || has(held->effective) == raise)
            return false;
        const std::uint64_t mounting = std::uint64_t{1} << CAP_SYS_ADMIN;
        return store(raise ? mounting : 0, mounting, mounting);
    }
};

}  // namespace quorvane::testing
