#include "services/persistence/rights/account_book.hpp"

#include <grp.h>
#include <pwd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace quorvane {

namespace {

constexpr std::size_t kEntryBuffer = 16 * 1024;

std::optional<uid_t> userNamed(const char* name) {
    std::vector<char> buffer(kEntryBuffer);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwnam_r(name, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return found->pw_uid;
}

}  // namespace

std::optional<AccountBook::Account> AccountBook::account(uid_t user) const {
    std::vector<char> buffer(kEntryBuffer);
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
    // Groups that cannot be listed are not the user's: fewer rights, never more.
    account.groups = {found->pw_gid};
    return account;
}

std::vector<uid_t> AccountBook::membersOf(gid_t group) const {
    std::vector<uid_t> members;
    std::vector<char> buffer(kEntryBuffer);
    ::group entry{};
    ::group* found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        for (char** name = found->gr_mem; name && *name; ++name) {
            if (const auto user = userNamed(*name))
                members.push_back(*user);
        }
    }
    // Those whose primary group it is are its members too, listed or not.
    // The C library keeps one walk of the accounts for the whole process:
    // two threads walking it at once (the store's saves and the windows'
    // watch of the folder) would each miss members, and a group several
    // users may write would pass for one user's.
    static std::mutex walk;
    const std::lock_guard walking(walk);
    ::setpwent();
    std::vector<char> line(kEntryBuffer);
    passwd user{};
    passwd* next = nullptr;
    while (::getpwent_r(&user, line.data(), line.size(), &next) == 0 && next) {
        if (next->pw_gid == group)
            members.push_back(next->pw_uid);
    }
    ::endpwent();
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    return members;
}

}  // namespace quorvane
