#include "services/persistence/rights/folder_rights_decision.hpp"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "services/persistence/rights/access_control_list.hpp"
#include "services/persistence/rights/mount_namespace_owner.hpp"
#include "services/persistence/rights/mount_table.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;
// As many links as the kernel follows on one path.
constexpr int kMaxLinks = 40;
// A refusal names this many users of one way in, and counts the rest.
constexpr std::size_t kUsersNamed = 10;
// An id shown as the namespace's overflow id: whose it is cannot be told.
constexpr std::string_view kUnmapped = "이 사용자 네임스페이스가 매핑하지 않는 ID";

// "UID 4, UID 42", the first few of `names` and how many more.
std::string namesOf(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t at = 0; at < names.size() && at < kUsersNamed; ++at)
        text += (at == 0 ? "" : ", ") + names[at];
    if (names.size() > kUsersNamed)
        text += " 외 " + std::to_string(names.size() - kUsersNamed) + "명";
    return text;
}

std::vector<std::string> uidNames(const std::vector<uid_t>& users) {
    std::vector<std::string> names;
    for (const auto user : users)
        names.push_back("UID " + std::to_string(user));
    return names;
}

// Who besides root could change what the walk went through, and what of it
// could not be read.
class Writers {
  public:
    Writers(const ProcessRights& process, const AccountBook& accounts, FolderRightsGrounds& grounds)
        : process_(process), accounts_(accounts), grounds_(grounds) {}

    // Whoever may change `folder`'s entries: make, rename, remove one.
    // Counted once, however often the walk passes through it.
    void ofFolder(const fs::path& folder, const struct stat& info) {
        if (!counted_.insert(folder).second)
            return;
        addUser(info.st_uid, {folder, Rule::owner, 0, {}});
        int error = 0;
        auto bytes = AccessControlList::bytesOf(folder, error);
        if (!bytes) {
            cannotTell(folder, "ACL", std::strerror(error));
            return;
        }
        bool malformed = false;
        const auto acl = AccessControlList::from(*bytes, malformed);
        grounds_.readAcl(folder, std::move(*bytes));
        if (malformed)
            cannotTell(folder, "ACL", "알 수 없는 형식");
        // With an ACL, the group bits are its mask: its own entries tell.
        if (acl ? acl->owningGroupWrites : (info.st_mode & S_IWGRP) != 0)
            addGroup(info.st_gid, {folder, Rule::group, info.st_gid, {}});
        for (const auto user : acl ? acl->users : std::vector<uid_t>{})
            addUser(user, {folder, Rule::acl, 0, {}});
        for (const auto group : acl ? acl->groups : std::vector<gid_t>{})
            addGroup(group, {folder, Rule::aclGroup, group, {}});
        if ((info.st_mode & S_IWOTH) != 0) {
            anyone_ = true;
            addWay({folder, Rule::anyone, 0, {}});
        }
    }

    // `point`, seen as `seen`, where the walk crosses into another mount:
    // the owners read beyond it are the word of whoever that mount says.
    // The mount is the one the kernel says the folder is on, its flags
    // those of the folder itself, opened; the table is read once per
    // decision, and only where a mount met is a server's or nosuid.
    void ofMount(const fs::path& point, const EntryStatus& seen) {
        // Without the kernel's word (a kernel before mount ids) no mount is
        // told from another stacked at the same place.
        if (!seen.mount) {
            cannotTellMount(point, "커널이 이 폴더가 어느 마운트에 있는지 알려 주지 않습니다");
            return;
        }
        if (!judged_.insert(*seen.mount).second)
            return;
        const UniqueFileDescriptor folder(
            ::open(point.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        const auto opened =
            folder.valid() ? EntryStatus::of(folder.get(), "", AT_EMPTY_PATH) : std::nullopt;
        struct statfs flags {};
        if (!opened || ::fstatfs(folder.get(), &flags) != 0) {
            cannotTellMount(point, std::strerror(errno));
            return;
        }
        if (opened->identity() != seen.identity()) {
            cannotTellMount(point, "보는 동안 다른 폴더로 바뀌었습니다");
            return;
        }
        // Only a server's mount or a nosuid one has anything to doubt,
        // which the table tells: any other is believed without reading it.
        const bool nosuid = (flags.f_flags & ST_NOSUID) != 0;
        if (!nosuid && flags.f_type != FUSE_SUPER_MAGIC)
            return;
        if (!mounts_)
            mounts_ = MountTable::read();
        const auto mount = *mounts_ ? (*mounts_)->withId(*seen.mount) : std::nullopt;
        if (!mount) {
            cannotTellMount(point, *mounts_ ? "마운트 목록(/proc/self/mountinfo)에 없습니다"
                                            : "/proc/self/mountinfo를 읽을 수 없습니다");
            return;
        }
        const auto standing = MountTable::standingOf(*mount, nosuid);
        switch (standing.kind) {
            case MountTable::Standing::Kind::believed:
                return;
            case MountTable::Standing::Kind::oneUsers:
                addUser(standing.user, {point, Rule::mount, 0, {}});
                return;
            case MountTable::Standing::Kind::unknown:
                cannotTellMount(point, standing.why);
                return;
        }
    }

    // The mount namespace the walk is in: where a user's namespace made
    // it, every mount in it is that user's word.
    void ofMountNamespace(const MountNamespaceOwner& made) {
        if (const auto* user = std::get_if<MountNamespaceOwner::User>(&made.owner))
            addUser(user->user, {"/", Rule::mountNamespace, 0, {}});
        else if (const auto* unknown = std::get_if<MountNamespaceOwner::Unknown>(&made.owner))
            cannotTellMount("/", "마운트 네임스페이스: " + unknown->why);
    }

    // Whoever may replace `entry` (whose status is `info`) in `folder`.
    void ofEntry(const fs::path& folder, const struct stat& folderInfo, const fs::path& entry,
                 const struct stat& info) {
        if ((folderInfo.st_mode & S_ISVTX) == 0) {
            ofFolder(folder, folderInfo);
            return;
        }
        // A sticky folder lets only its owner and the entry's replace it.
        addUser(folderInfo.st_uid, {folder, Rule::owner, 0, {}});
        addUser(info.st_uid, {entry, Rule::owner, 0, {}});
    }

    // What `where` holds could not be read (`what` of it, and why): whoever
    // could change it stays unknown.
    void cannotTell(const fs::path& where, const std::string& what, const std::string& why) {
        grounds_.couldNotRead();
        unread_.push_back(where.string() + " — " + what + ": " + why);
    }

    bool anyone() const { return anyone_; }
    bool unmapped() const { return unmapped_; }
    const std::set<uid_t>& users() const { return users_; }
    bool allTold() const { return unread_.empty() && unbelieved_.empty(); }
    // Whether all that was not told is a mount whose owners are not believed.
    bool onlyMountsUntold() const { return unread_.empty(); }
    // Which folder each writer may change, and by which rule.
    std::string ways() const {
        std::string text;
        for (const auto& way : ways_) {
            if (!way.users.empty() || way.rule == Rule::anyone)
                text += (text.empty() ? "" : "; ") + told(way);
        }
        for (const auto& way : ways_) {
            if (!way.unmapped.empty())
                text += (text.empty() ? "" : "; ") + toldUnmapped(way);
        }
        return text;
    }
    std::string unread() const {
        std::string text;
        for (const auto* list : {&unbelieved_, &unread_}) {
            for (const auto& why : *list)
                text += (text.empty() ? "" : "; ") + why;
        }
        return text;
    }

  private:
    enum class Rule { owner, acl, group, aclGroup, anyone, mount, mountNamespace };
    // One way in: a folder, the rule that lets its users change it, and
    // those users.
    struct Way {
        fs::path where;
        Rule rule;
        gid_t group = 0;
        std::vector<uid_t> users;
        // Ids the namespace does not map, as "UID 5" or "GID 7".
        std::vector<std::string> unmapped = {};
    };

    void cannotTellMount(const fs::path& point, const std::string& why) {
        grounds_.couldNotRead();
        unbelieved_.push_back(point.string() + " — 마운트: " + why);
    }

    void addUser(uid_t user, Way way) {
        if (user == kRoot)
            return;
        // An id this namespace does not map stands for someone outside it,
        // anyone: a writer whose rights cannot be taken.
        if (!process_.mapsUser(user)) {
            addUnmapped(way, "UID " + std::to_string(user));
            return;
        }
        users_.insert(user);
        way.users = {user};
        addWay(std::move(way));
    }

    // A folder walked through more than once is told once, and the users one
    // rule lets in there (an ACL's many entries) together.
    void addWay(Way way) {
        for (auto& known : ways_) {
            if (known.where != way.where || known.rule != way.rule || known.group != way.group)
                continue;
            addMissing(known.users, way.users);
            addMissing(known.unmapped, way.unmapped);
            return;
        }
        ways_.push_back(std::move(way));
    }

    template <typename Item>
    static void addMissing(std::vector<Item>& known, const std::vector<Item>& more) {
        for (const auto& item : more) {
            if (std::find(known.begin(), known.end(), item) == known.end())
                known.push_back(item);
        }
    }

    void addGroup(gid_t group, Way way) {
        // Who belongs to a group this namespace does not map cannot be told.
        if (!process_.mapsGroup(group)) {
            addUnmapped(way, "GID " + std::to_string(group));
            return;
        }
        grounds_.readingAccounts();
        const auto members = accounts_.membersOf(group);
        if (!members) {
            cannotTell(way.where, "그룹 " + accounts_.groupName(group),
                       "사용자를 모두 알 수 없습니다");
            return;
        }
        for (const auto member : *members) {
            if (member == kRoot)
                continue;
            if (!process_.mapsUser(member)) {
                addUnmapped(way, "UID " + std::to_string(member));
                continue;
            }
            users_.insert(member);
            way.users.push_back(member);
        }
        if (!way.users.empty())
            addWay(std::move(way));
    }

    void addUnmapped(Way way, const std::string& who) {
        unmapped_ = true;
        way.users.clear();
        way.unmapped = {who};
        addWay(std::move(way));
    }

    // The rule that lets `way`'s users change its folder.
    std::string ruleOf(const Way& way) const {
        switch (way.rule) {
            case Rule::owner:
                return "주인";
            case Rule::acl:
                return "ACL";
            case Rule::group:
                return "그룹 " + accounts_.groupName(way.group);
            case Rule::aclGroup:
                return "ACL 그룹 " + accounts_.groupName(way.group);
            case Rule::anyone:
                return "누구나 쓰기";
            case Rule::mount:
                return "FUSE 서버";
            case Rule::mountNamespace:
                return "마운트 네임스페이스를 만든 사용자";
        }
        return {};
    }

    std::string told(const Way& way) const {
        const auto text = way.where.string() + " — " + ruleOf(way);
        return way.rule == Rule::anyone ? text : text + ": " + namesOf(uidNames(way.users));
    }

    std::string toldUnmapped(const Way& way) const {
        return way.where.string() + " — " + ruleOf(way) + ": " + namesOf(way.unmapped) + ", " +
               std::string(kUnmapped);
    }

    const ProcessRights& process_;
    const AccountBook& accounts_;
    FolderRightsGrounds& grounds_;
    std::set<fs::path> counted_;
    std::set<uid_t> users_;
    bool anyone_ = false;
    std::vector<Way> ways_;
    bool unmapped_ = false;
    std::vector<std::string> unread_;
    // Mounts whose owners are not believed, and why.
    std::vector<std::string> unbelieved_;
    // The mounts, once the walk crossed into another one.
    std::optional<std::optional<MountTable>> mounts_;
    // The mounts judged so far.
    std::set<std::uint64_t> judged_;
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

// Looks at `path` without following it, as `grounds` keeps it: none where
// nothing could be seen there (errno says why).
std::optional<EntryStatus> lookAt(const fs::path& path, FolderRightsGrounds& grounds) {
    auto status = EntryStatus::of(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW);
    const int why = errno;
    if (status || why == ENOENT)
        grounds.looked(path, status ? &*status : nullptr);
    errno = why;
    return status;
}

// Whether `to` is on another mount than `from`: by the kernel's mount ids,
// or, where it gives none, by another file system.
bool crosses(const EntryStatus& from, const EntryStatus& to) {
    if (from.mount && to.mount)
        return *from.mount != *to.mount;
    return from.info.st_dev != to.info.st_dev;
}

// Walks `folder` as the kernel does, following every link on the way,
// telling `writers` of every folder, link and mount it goes through, and
// `folders` of every folder it went into; stops where a name is not made
// yet (or is no folder), whose folder's writers could make it. A name not
// made yet in a sticky folder is the folder's owner's and its maker's alone
// once made: the folders still to make from there, which root then makes
// itself.
std::vector<fs::path> walk(const fs::path& folder, Writers& writers, FolderRightsGrounds& grounds,
                           std::set<EntryStatus::Identity>& folders) {
    std::vector<std::string> pending;
    const auto queue = [&pending](const fs::path& path) {
        std::vector<std::string> parts;
        for (const auto& part : path.relative_path())
            parts.push_back(part.string());
        pending.insert(pending.end(), parts.rbegin(), parts.rend());
    };
    queue(folder);
    // The folders from the root to the current one, as the kernel went:
    // `..` leaves the folder it is in, never the name of a link.
    std::vector<std::string> walked;
    const auto pathOf = [&walked] {
        fs::path path("/");
        for (const auto& part : walked)
            path /= part;
        return path;
    };
    fs::path current;
    std::optional<EntryStatus> currentStatus;
    // Goes into the folder `path`, seen as `status`, judging the mount it
    // is on where that is another, and the one the walk starts on: the
    // root folder may be a mount another made too (a namespace's own
    // root after pivot_root).
    const auto goInto = [&](const fs::path& path, const EntryStatus& status) {
        if (!currentStatus || crosses(*currentStatus, status))
            writers.ofMount(path, status);
        folders.insert(status.identity());
        current = path;
        currentStatus = status;
    };
    // Goes into the folder `path`, looked at anew: false where it could not be.
    const auto goBackTo = [&](const fs::path& path) {
        const auto status = lookAt(path, grounds);
        if (!status) {
            writers.cannotTell(path, "폴더", std::strerror(errno));
            return false;
        }
        goInto(path, *status);
        return true;
    };
    if (!goBackTo("/"))
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
            if (!goBackTo(pathOf()))
                return {};
            continue;
        }
        const auto next = current / name;
        const auto status = lookAt(next, grounds);
        if (!status && errno != ENOENT) {
            writers.cannotTell(next, "이름", std::strerror(errno));
            return {};
        }
        const auto& currentInfo = currentStatus->info;
        if (!status && (currentInfo.st_mode & S_ISVTX) != 0) {
            if (auto toMake = stillToMake(next, pending); !toMake.empty()) {
                // Made by root, the name is the sticky folder's owner's to
                // replace, and root's.
                writers.ofEntry(current, currentInfo, next, currentInfo);
                return toMake;
            }
        }
        if (!status || (!S_ISDIR(status->info.st_mode) && !S_ISLNK(status->info.st_mode))) {
            // Not made yet (or no folder, which the store refuses): whoever
            // writes the folder it would be in may make it.
            writers.ofFolder(current, currentInfo);
            return {};
        }
        writers.ofEntry(current, currentInfo, next, status->info);
        if (S_ISLNK(status->info.st_mode)) {
            // A loop of links, or one longer than the kernel goes: it
            // refuses the path too.
            if (++links > kMaxLinks) {
                writers.cannotTell(next, "링크", std::strerror(ELOOP));
                return {};
            }
            std::array<char, 4096> target{};
            const auto length = ::readlink(next.c_str(), target.data(), target.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
                writers.cannotTell(next, "링크", std::strerror(length < 0 ? errno : ENAMETOOLONG));
                return {};
            }
            const fs::path leadsTo(std::string(target.data(), static_cast<std::size_t>(length)));
            if (leadsTo.is_absolute()) {
                walked.clear();
                if (!goBackTo("/"))
                    return {};
            }
            queue(leadsTo);
            continue;
        }
        walked.push_back(name);
        goInto(next, *status);
    }
    // Whoever writes the settings folder itself may plant anything in it.
    writers.ofFolder(current, currentStatus->info);
    return {};
}

}  // namespace

FolderRightsDecision FolderRightsDecision::of(const fs::path& folder, const ProcessRights& process,
                                              const AccountBook& accounts,
                                              FolderRightsGrounds* grounds) {
    FolderRightsDecision decision;
    decision.folder_ = folder;
    if (folder.empty() || !process.beyondOneUser)
        return decision;
    decision.beyondOneUser_ = true;
    FolderRightsGrounds ownGrounds;
    auto& read = grounds ? *grounds : ownGrounds;
    Writers writers(process, accounts, read);
    writers.ofMountNamespace(MountNamespaceOwner::ofThisProcess());
    decision.toMake_ = walk(fs::absolute(folder), writers, read, decision.folders_);
    if (writers.anyone() || writers.unmapped() || writers.users().size() > 1) {
        decision.toMake_.clear();
        decision.refusal_ = DefaultsStoreError{DefaultsStoreError::Kind::pathSharedWithOthers,
                                               folder.string(), writers.ways()};
        return decision;
    }
    // Whoever could change what was not read may be anyone: no rights of
    // one user are known to keep them away.
    if (!writers.allTold()) {
        decision.toMake_.clear();
        decision.refusal_ = DefaultsStoreError{writers.onlyMountsUntold()
                                                   ? DefaultsStoreError::Kind::mountNotBelieved
                                                   : DefaultsStoreError::Kind::writersUnknown,
                                               folder.string(), writers.unread()};
        return decision;
    }
    if (writers.users().empty())
        return decision;
    // The one user who could steer the way makes the rest with their rights.
    decision.toMake_.clear();
    const auto user = *writers.users().begin();
    read.readingAccounts();
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
