#include "services/persistence/rights/folder_rights_decision.hpp"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;
// As many links as the kernel follows on one path.
constexpr int kMaxLinks = 40;
// An id shown as the namespace's overflow id: whose it is cannot be told.
constexpr std::string_view kUnmapped = "이 사용자 네임스페이스가 매핑하지 않는 ID";

// Who besides root could change what the walk went through.
class Writers {
  public:
    Writers(const ProcessRights& process, const AccountBook& accounts)
        : process_(process), accounts_(accounts) {}

    // Whoever may change `folder`'s entries: make, rename, remove one.
    void ofFolder(const fs::path& folder, const struct stat& info) {
        addUser(info.st_uid, folder, "주인");
        const auto acl = writableByAcl(folder, info.st_gid);
        // With an ACL, the group bits are its mask: its own entries tell.
        if (!acl.present && (info.st_mode & S_IWGRP) != 0)
            addGroup(info.st_gid, folder);
        for (const auto user : acl.users)
            addUser(user, folder, "ACL");
        for (const auto group : acl.groups)
            addGroup(group, folder);
        if ((info.st_mode & S_IWOTH) != 0) {
            anyone_ = true;
            reasons_.push_back(folder.string() + ": 누구나 쓰기");
        }
    }

    // Whoever may replace `entry` (whose status is `info`) in `folder`.
    void ofEntry(const fs::path& folder, const struct stat& folderInfo, const fs::path& entry,
                 const struct stat& info) {
        if ((folderInfo.st_mode & S_ISVTX) == 0) {
            ofFolder(folder, folderInfo);
            return;
        }
        // A sticky folder lets only its owner and the entry's replace it.
        addUser(folderInfo.st_uid, folder, "주인");
        addUser(info.st_uid, entry, "주인");
    }

    bool anyone() const { return anyone_; }
    bool unmapped() const { return unmapped_; }
    const std::set<uid_t>& users() const { return users_; }
    std::string reasons() const {
        std::string text;
        for (const auto& reason : reasons_)
            text += (text.empty() ? "" : ", ") + reason;
        return text;
    }

  private:
    struct AclWriters {
        bool present = false;
        std::vector<uid_t> users;
        std::vector<gid_t> groups;
    };

    void addUser(uid_t user, const fs::path& where, const char* how) {
        if (user == kRoot)
            return;
        // An id this namespace does not map stands for someone outside it,
        // anyone: a writer whose rights cannot be taken.
        if (!process_.mapsUser(user)) {
            addUnmapped(where, "UID " + std::to_string(user) + " " + how);
            return;
        }
        if (users_.insert(user).second)
            reasons_.push_back(where.string() + ": UID " + std::to_string(user) + " " + how);
    }

    void addGroup(gid_t group, const fs::path& where) {
        // Who belongs to a group this namespace does not map cannot be told.
        if (!process_.mapsGroup(group)) {
            addUnmapped(where, "GID " + std::to_string(group));
            return;
        }
        for (const auto member : accounts_.membersOf(group)) {
            if (member == kRoot)
                continue;
            const auto how = "(그룹 " + std::to_string(group) + ")";
            if (!process_.mapsUser(member))
                addUnmapped(where, "UID " + std::to_string(member) + " " + how);
            else if (users_.insert(member).second)
                reasons_.push_back(where.string() + ": UID " + std::to_string(member) + " " + how);
        }
    }

    void addUnmapped(const fs::path& where, const std::string& who) {
        unmapped_ = true;
        reasons_.push_back(where.string() + ": " + who + ", " + std::string(kUnmapped));
    }

    // The ACL's entries that let a user or a group write, through its mask
    // (system.posix_acl_access: a version, then tag, permissions and id
    // per entry).
    static AclWriters writableByAcl(const fs::path& folder, gid_t owningGroup) {
        constexpr std::uint16_t kUser = 0x02;
        constexpr std::uint16_t kGroupObject = 0x04;
        constexpr std::uint16_t kGroup = 0x08;
        constexpr std::uint16_t kMask = 0x10;
        constexpr std::uint16_t kWrite = 0x02;
        constexpr std::size_t kHeader = 4;
        constexpr std::size_t kEntry = 8;
        std::array<unsigned char, 4096> bytes{};
        const auto size =
            ::lgetxattr(folder.c_str(), "system.posix_acl_access", bytes.data(), bytes.size());
        AclWriters writers;
        if (size < static_cast<ssize_t>(kHeader))
            return writers;
        writers.present = true;
        struct Entry {
            std::uint16_t tag;
            std::uint16_t permissions;
            std::uint32_t id;
        };
        std::vector<Entry> entries;
        std::uint16_t mask = 0x07;
        for (auto at = kHeader; at + kEntry <= static_cast<std::size_t>(size); at += kEntry) {
            Entry entry{};
            std::memcpy(&entry.tag, bytes.data() + at, 2);
            std::memcpy(&entry.permissions, bytes.data() + at + 2, 2);
            std::memcpy(&entry.id, bytes.data() + at + 4, 4);
            if (entry.tag == kMask)
                mask = entry.permissions;
            entries.push_back(entry);
        }
        for (const auto& entry : entries) {
            if ((entry.permissions & mask & kWrite) == 0)
                continue;
            if (entry.tag == kUser)
                writers.users.push_back(entry.id);
            else if (entry.tag == kGroup)
                writers.groups.push_back(entry.id);
        }
        // The owning group's entry is the group bits of a folder without one.
        for (const auto& entry : entries) {
            if (entry.tag == kGroupObject && (entry.permissions & mask & kWrite) != 0)
                writers.groups.push_back(owningGroup);
        }
        return writers;
    }

    const ProcessRights& process_;
    const AccountBook& accounts_;
    std::set<uid_t> users_;
    bool anyone_ = false;
    bool unmapped_ = false;
    std::vector<std::string> reasons_;
};

// The folders still to make from `first` on, `pending` (reversed) naming
// the rest; none where the rest goes back up.
std::vector<fs::path> stillToMake(const fs::path& first, const std::vector<std::string>& pending) {
    std::vector<fs::path> folders{first};
    for (auto part = pending.rbegin(); part != pending.rend(); ++part) {
        if (*part == "..")
            return {};
        if (!part->empty() && *part != ".")
            folders.push_back(folders.back() / *part);
    }
    return folders;
}

// Walks `folder` as the kernel does, following every link on the way,
// telling `writers` of every folder and link it goes through; stops where
// a name is not made yet (or is no folder), whose folder's writers could
// make it. A name not made yet in a sticky folder is the folder's owner's
// and its maker's alone once made: the folders still to make from there,
// which root then makes itself.
std::vector<fs::path> walk(const fs::path& folder, Writers& writers) {
    std::vector<std::string> pending;
    const auto queue = [&pending](const fs::path& path) {
        std::vector<std::string> parts;
        for (const auto& part : path.relative_path())
            parts.push_back(part.string());
        pending.insert(pending.end(), parts.rbegin(), parts.rend());
    };
    queue(folder);
    std::vector<std::string> walked;
    const auto pathOf = [&walked] {
        fs::path path("/");
        for (const auto& part : walked)
            path /= part;
        return path;
    };
    fs::path current("/");
    struct stat currentInfo {};
    if (::lstat("/", &currentInfo) != 0)
        return {};
    int links = 0;
    while (!pending.empty()) {
        const auto name = std::move(pending.back());
        pending.pop_back();
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            if (!walked.empty())
                walked.pop_back();
            current = pathOf();
            if (::lstat(current.c_str(), &currentInfo) != 0)
                return {};
            continue;
        }
        const auto next = current / name;
        struct stat info {};
        const bool made = ::lstat(next.c_str(), &info) == 0;
        if (!made && errno == ENOENT && (currentInfo.st_mode & S_ISVTX) != 0) {
            if (auto folders = stillToMake(next, pending); !folders.empty()) {
                // Made by root, the name is the sticky folder's owner's to
                // replace, and root's.
                writers.ofEntry(current, currentInfo, next, currentInfo);
                return folders;
            }
        }
        if (!made || (!S_ISDIR(info.st_mode) && !S_ISLNK(info.st_mode))) {
            // Not made yet (or no folder, which the store refuses): whoever
            // writes the folder it would be in may make it.
            writers.ofFolder(current, currentInfo);
            return {};
        }
        writers.ofEntry(current, currentInfo, next, info);
        if (S_ISLNK(info.st_mode)) {
            std::array<char, 4096> target{};
            const auto length = ::readlink(next.c_str(), target.data(), target.size() - 1);
            if (length <= 0 || ++links > kMaxLinks) {
                writers.ofFolder(current, currentInfo);
                return {};
            }
            const fs::path leadsTo(std::string(target.data(), static_cast<std::size_t>(length)));
            if (leadsTo.is_absolute()) {
                walked.clear();
                current = "/";
                if (::lstat("/", &currentInfo) != 0)
                    return {};
            }
            queue(leadsTo);
            continue;
        }
        walked.push_back(name);
        current = next;
        currentInfo = info;
    }
    // Whoever writes the settings folder itself may plant anything in it.
    writers.ofFolder(current, currentInfo);
    return {};
}

std::string uidsOf(const std::set<uid_t>& users) {
    std::string text;
    for (const auto user : users)
        text += (text.empty() ? "UID " : ", UID ") + std::to_string(user);
    return text;
}

}  // namespace

FolderRightsDecision FolderRightsDecision::of(const fs::path& folder, const ProcessRights& process,
                                              const AccountBook& accounts) {
    FolderRightsDecision decision;
    decision.folder_ = folder;
    if (folder.empty() || !process.beyondOneUser)
        return decision;
    decision.beyondOneUser_ = true;
    Writers writers(process, accounts);
    decision.toMake_ = walk(fs::absolute(folder), writers);
    if (writers.anyone() || writers.unmapped() || writers.users().size() > 1) {
        decision.toMake_.clear();
        auto who = writers.anyone() ? std::string("누구나") : uidsOf(writers.users());
        if (!writers.anyone() && writers.unmapped())
            who += (who.empty() ? "" : ", ") + std::string(kUnmapped);
        decision.refusal_ = DefaultsStoreError{DefaultsStoreError::Kind::pathSharedWithOthers,
                                               folder.string(), who + " — " + writers.reasons()};
        return decision;
    }
    if (writers.users().empty())
        return decision;
    // The one user who could steer the way makes the rest with their rights.
    decision.toMake_.clear();
    const auto user = *writers.users().begin();
    const auto account = accounts.account(user);
    if (!account) {
        decision.refusal_ =
            DefaultsStoreError{DefaultsStoreError::Kind::ownersRightsUnavailable, folder.string(),
                               "UID " + std::to_string(user) + ": 그 사용자의 계정이 없습니다"};
        return decision;
    }
    decision.user_ = user;
    decision.account_ = *account;
    return decision;
}

}  // namespace quorvane
