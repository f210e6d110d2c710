#include "services/persistence/rights/account_book.hpp"

#include <grp.h>
#include <pwd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

namespace quorvane {

namespace {

constexpr std::size_t kEntryBuffer = 16 * 1024;
// Beyond any entry an account source hands out (a group of a hundred
// thousand members): a larger one is not read, and tells nothing.
constexpr std::size_t kLargestEntry = 64 * 1024 * 1024;
constexpr const char* kSwitchFile = "/etc/nsswitch.conf";

// Runs `lookUp(buffer, size)`, a C library *_r call that answers with an
// error number, with `buffer` grown for as long as the entry does not fit:
// its answer, or ERANGE where the entry is too large to be read.
template <class LookUp>
int withRoomFor(std::vector<char>& buffer, LookUp lookUp) {
    for (;;) {
        const int answer = lookUp(buffer.data(), buffer.size());
        if (answer != ERANGE || buffer.size() >= kLargestEntry)
            return answer;
        buffer.resize(buffer.size() * 2);
    }
}

// Whether every account source named for `database` in the name service
// switch lists all its entries when walked. A directory's (sssd, LDAP,
// winbind) lists only those already asked for, or none: the users whose
// primary group a group is cannot all be found there.
bool everyEntryListed(const std::string& database) {
    std::ifstream file(kSwitchFile);
    // Without the file, the C library reads the local files alone.
    if (!file)
        return true;
    static const std::set<std::string> kListing{"files", "compat", "db", "systemd"};
    for (std::string line; std::getline(file, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name != database + ":")
            continue;
        int inAction = 0;
        for (std::string word; words >> word;) {
            // "[NOTFOUND=return]" and the like say what to do, not where.
            if (word.front() == '[')
                ++inAction;
            const bool action = inAction > 0;
            if (word.back() == ']')
                inAction = 0;
            if (!action && !kListing.contains(word))
                return false;
        }
    }
    return true;
}

// The names `group`'s entry lists (none listed where it has no entry);
// none where the entry could not be read.
std::optional<std::set<std::string>> listedMembers(gid_t group) {
    std::vector<char> buffer(kEntryBuffer);
    ::group entry{};
    ::group* found = nullptr;
    const int answer = withRoomFor(buffer, [&](char* room, std::size_t size) {
        return ::getgrgid_r(group, &entry, room, size, &found);
    });
    if (answer != 0 && answer != ENOENT)
        return std::nullopt;
    std::set<std::string> names;
    for (char** name = found ? found->gr_mem : nullptr; name && *name; ++name)
        names.insert(*name);
    return names;
}

// Calls `each` with every account, in turn; false where the walk failed
// before its end. Those whose primary group a group is are found only so.
template <class Each>
bool walkAccounts(Each each) {
    // The C library keeps one walk of the accounts for the whole process:
    // two threads walking it at once (the store's saves and the windows'
    // watch of the folder) would each miss members, and a group several
    // users may write would pass for one user's.
    static std::mutex walk;
    const std::lock_guard walking(walk);
    ::setpwent();
    std::vector<char> buffer(kEntryBuffer);
    passwd user{};
    passwd* next = nullptr;
    int answer = 0;
    for (;;) {
        answer = withRoomFor(buffer, [&](char* room, std::size_t size) {
            return ::getpwent_r(&user, room, size, &next);
        });
        if (answer != 0 || !next)
            break;
        each(*next);
    }
    ::endpwent();
    return answer == 0 || answer == ENOENT;
}

}  // namespace

std::optional<AccountBook::Account> AccountBook::account(uid_t user) const {
    std::vector<char> buffer(kEntryBuffer);
    passwd entry{};
    passwd* found = nullptr;
    const int answer = withRoomFor(buffer, [&](char* room, std::size_t size) {
        return ::getpwuid_r(user, &entry, room, size, &found);
    });
    if (answer != 0 || !found)
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

std::optional<std::vector<uid_t>> AccountBook::membersOf(gid_t group) const {
    if (!everyEntryListed("passwd") || !everyEntryListed("group"))
        return std::nullopt;
    auto listed = listedMembers(group);
    if (!listed)
        return std::nullopt;
    // Every source lists all its accounts (checked above), so the one walk
    // meets every listed name that has an account: a name it does not meet
    // has none, however many a group lists, and is not looked up again.
    std::vector<uid_t> members;
    if (!walkAccounts([&](const passwd& user) {
            if (listed->contains(user.pw_name) || user.pw_gid == group)
                members.push_back(user.pw_uid);
        }))
        return std::nullopt;
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    return members;
}

std::string AccountBook::groupName(gid_t group) const {
    std::vector<char> buffer(kEntryBuffer);
    ::group entry{};
    ::group* found = nullptr;
    const int answer = withRoomFor(buffer, [&](char* room, std::size_t size) {
        return ::getgrgid_r(group, &entry, room, size, &found);
    });
    return answer == 0 && found ? std::string(found->gr_name) : std::to_string(group);
}

}  // namespace quorvane
