#include "services/persistence/folder_owner_rights.hpp"

#include <grp.h>
#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;
// Asks for no change: setfsuid() and setfsgid() then tell the id in force.
constexpr auto kUnchanged = static_cast<uid_t>(-1);

uid_t threadFsuid() {
    return static_cast<uid_t>(::setfsuid(kUnchanged));
}

gid_t threadFsgid() {
    return static_cast<gid_t>(::setfsgid(static_cast<gid_t>(kUnchanged)));
}

std::vector<gid_t> threadGroups() {
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0 && ::getgroups(count, groups.data()) != count)
        groups.clear();
    return groups;
}

// The system call itself, for this thread alone: the C library's
// setgroups() changes every thread of the process.
bool setThreadGroups(const std::vector<gid_t>& groups) {
#ifdef SYS_setgroups32
    constexpr long kCall = SYS_setgroups32;
#else
    constexpr long kCall = SYS_setgroups;
#endif
    return ::syscall(kCall, groups.size(), groups.data()) == 0;
}

struct Account {
    gid_t group = 0;
    std::vector<gid_t> groups;
};

std::optional<Account> accountOf(uid_t user) {
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    Account account{found->pw_gid, {}};
    int count = 32;
    for (int tries = 0; tries < 4; ++tries) {
        account.groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(found->pw_name, found->pw_gid, account.groups.data(), &count) >= 0) {
            account.groups.resize(static_cast<std::size_t>(count));
            return account;
        }
    }
    // Groups that cannot be listed are not the owner's: fewer rights, never more.
    account.groups = {found->pw_gid};
    return account;
}

std::string ownerDetail(uid_t owner, const std::string& why) {
    return "UID " + std::to_string(owner) + ": " + why;
}

}  // namespace

uid_t FolderOwnerRights::ownerOf(const fs::path& folder) {
    for (auto part = folder; !part.empty(); part = part.parent_path()) {
        struct stat info {};
        if (::lstat(part.c_str(), &info) == 0 && info.st_uid != kRoot)
            return info.st_uid;
        if (part == part.parent_path())
            break;
    }
    return kRoot;
}

FolderOwnerRights::FolderOwnerRights(const fs::path& folder) {
    // Only root holds rights beyond its own files' owner's; an ordinary
    // process in its own folder pays one system call here.
    if (folder.empty() || threadFsuid() != kRoot)
        return;
    owner_ = ownerOf(folder);
    if (owner_ == kRoot)
        return;
    const auto refuse = [&](const std::string& why) {
        refusal_ = DefaultsStoreError{DefaultsStoreError::Kind::ownersRightsUnavailable,
                                      folder.string(), ownerDetail(owner_, why)};
    };
    const auto account = accountOf(owner_);
    if (!account) {
        refuse("no such account");
        return;
    }
    previousGroups_ = threadGroups();
    previousGroup_ = threadFsgid();
    if (!setThreadGroups(account->groups)) {
        refuse(std::strerror(errno));
        return;
    }
    previousUser_ = kRoot;
    // The group first: once the user id leaves root, the rights over files
    // go with it.
    ::setfsgid(account->group);
    ::setfsuid(owner_);
    if (threadFsuid() != owner_ || threadFsgid() != account->group) {
        restore();
        refuse("the kernel refuses this process that user's ids");
    }
}

FolderOwnerRights::~FolderOwnerRights() {
    // What the calls made with the owner's rights left in errno stays told.
    const int told = errno;
    restore();
    errno = told;
}

void FolderOwnerRights::restore() {
    if (!previousUser_)
        return;
    // Back at root, the rights over files come back with the id.
    ::setfsuid(*std::exchange(previousUser_, std::nullopt));
    ::setfsgid(previousGroup_);
    setThreadGroups(previousGroups_);
}

DefaultsStoreError FolderOwnerRights::told(DefaultsStoreError error) const {
    if (!previousUser_)
        return error;
    const bool refused =
        error.detail == std::strerror(EACCES) || error.detail == std::strerror(EPERM);
    if (!refused)
        return error;
    if (error.kind == DefaultsStoreError::Kind::notWritable ||
        error.kind == DefaultsStoreError::Kind::writeFailed ||
        error.kind == DefaultsStoreError::Kind::lockUnusable)
        error.kind = DefaultsStoreError::Kind::beyondOwnersRights;
    // An unreadable record stays one (it is held, never replaced), and says
    // whose rights it was read with.
    error.detail = ownerDetail(owner_, error.detail);
    return error;
}

}  // namespace quorvane
