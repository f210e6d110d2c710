#include "services/persistence/rights/held_folder.hpp"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <set>
#include <string_view>
#include <utility>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;
// As many links as the kernel follows on one path.
constexpr int kMaxLinks = 40;
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kLinkFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;

DefaultsStoreError linkOfAnotherUser(const fs::path& link, uid_t maker) {
    return {DefaultsStoreError::Kind::linkOfAnotherUser, link.string(),
            "UID " + std::to_string(maker)};
}

// Where a walk ended: the deepest folder it reached, held, its path as
// messages name it, and the names from there not made yet (or whose first
// is no folder: `stoppedBy` tells which).
struct WalkEnd {
    UniqueFileDescriptor fd{-1};
    fs::path shown;
    std::vector<std::string> rest;
    int stoppedBy = 0;
};

DefaultsStoreError notDecided(const fs::path& folder) {
    return {DefaultsStoreError::Kind::wayChangedSinceDecided, folder.string(), {}};
}

// A walk that follows only links made by root or `user`, counting every
// link it follows against the kernel's limit; where `decided` is given,
// going only into those folders.
class Walk {
  public:
    explicit Walk(uid_t user, const std::set<EntryStatus::Identity>* decided = nullptr)
        : user_(user), decided_(decided) {}

    // `path` walked from the folder `from` (whose path is shown as
    // `fromShown`), or from the root folder where it is absolute.
    std::variant<WalkEnd, DefaultsStoreError> from(int from, fs::path fromShown,
                                                   const fs::path& path) {
        UniqueFileDescriptor held(-1);
        fs::path shown = std::move(fromShown);
        std::vector<std::string> pending;
        queue(pending, path);
        if (path.is_absolute()
                ? !restartAtRoot(held, shown)
                : !(held = UniqueFileDescriptor(::fcntl(from, F_DUPFD_CLOEXEC, 0))).valid())
            return DefaultsStoreError::fromErrno(errno, shown.string());
        if (!decidedOn(held.get()))
            return notDecided(shown);
        while (!pending.empty()) {
            const auto name = std::move(pending.back());
            pending.pop_back();
            if (name.empty() || name == ".")
                continue;
            // ".." is the kernel's: the parent of the folder held, never
            // where the path written would lead.
            bool crossed = true;
            UniqueFileDescriptor next = openFolder(held.get(), name, crossed);
            if (next.valid()) {
                held = std::move(next);
                shown = name == ".." ? shown.parent_path() : shown / name;
                if (crossed && !decidedOn(held.get()))
                    return notDecided(shown);
                continue;
            }
            const int error = errno;
            const auto stop = [&](int why) {
                pending.push_back(name);
                return WalkEnd{
                    std::move(held), std::move(shown), {pending.rbegin(), pending.rend()}, why};
            };
            if (error == ENOENT)
                return stop(ENOENT);
            if (error != ENOTDIR)
                return DefaultsStoreError::fromErrno(error, (shown / name).string());
            auto target = linkTarget(held.get(), name, shown / name);
            if (auto* refused = std::get_if<DefaultsStoreError>(&target))
                return std::move(*refused);
            const auto& link = std::get<std::optional<std::string>>(target);
            // No folder stands there: nothing is stored beyond it, and no
            // folder can be made there.
            if (!link)
                return stop(ENOTDIR);
            const fs::path leadsTo(*link);
            if (leadsTo.is_absolute() && !restartAtRoot(held, shown))
                return DefaultsStoreError::fromErrno(errno, "/");
            if (leadsTo.is_absolute() && !decidedOn(held.get()))
                return notDecided(shown);
            queue(pending, leadsTo);
        }
        return WalkEnd{std::move(held), std::move(shown), {}};
    }

    // What the link `name` in the folder `at` leads to, where its maker
    // counts; none where the name is no link.
    std::variant<std::optional<std::string>, DefaultsStoreError> linkTarget(int at,
                                                                            const std::string& name,
                                                                            const fs::path& shown) {
        UniqueFileDescriptor link(::openat(at, name.c_str(), kLinkFlags));
        struct stat info {};
        if (!link.valid() || ::fstat(link.get(), &info) != 0)
            return DefaultsStoreError::fromErrno(errno, shown.string());
        if (!S_ISLNK(info.st_mode))
            return std::nullopt;
        // Judged on the link opened, and read from it: no other link put
        // at the name meanwhile is followed.
        if (info.st_uid != kRoot && info.st_uid != user_)
            return linkOfAnotherUser(shown, info.st_uid);
        if (++links_ > kMaxLinks)
            return DefaultsStoreError::fromErrno(ELOOP, shown.string());
        std::array<char, 4096> target{};
        const auto length = ::readlinkat(link.get(), "", target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) == target.size())
            return DefaultsStoreError::fromErrno(length < 0 ? errno : ENAMETOOLONG, shown.string());
        return std::string(target.data(), static_cast<std::size_t>(length));
    }

  private:
    // The folder `name` in `at`, and whether the walk may have crossed into
    // another mount there. Where a decision bounds the walk, the kernel
    // refuses a crossing (RESOLVE_NO_XDEV), so that only the folders where
    // one is made are compared with the decision: a folder on the same
    // mount as one decided on was put there by that folder's writers, whom
    // the decision judged. Where the kernel has no openat2, every folder
    // is compared.
    UniqueFileDescriptor openFolder(int at, const std::string& name, bool& crossed) {
        if (decided_ && withinMounts_) {
            open_how how{};
            how.flags = kFolderFlags;
            how.resolve = RESOLVE_NO_XDEV;
            const auto fd = ::syscall(SYS_openat2, at, name.c_str(), &how, sizeof how);
            if (fd >= 0) {
                crossed = false;
                return UniqueFileDescriptor(static_cast<int>(fd));
            }
            if (errno == ENOSYS || errno == EPERM)
                withinMounts_ = false;
            else if (errno != EXDEV)
                return UniqueFileDescriptor(-1);
        }
        crossed = true;
        return UniqueFileDescriptor(::openat(at, name.c_str(), kFolderFlags));
    }

    // Whether the folder `fd` holds is one the decision went into, on the
    // mount it was on then; true where no decision bounds the walk.
    bool decidedOn(int fd) const {
        if (!decided_)
            return true;
        const auto status = EntryStatus::of(fd, "", AT_EMPTY_PATH);
        return status && decided_->contains(status->identity());
    }

    static void queue(std::vector<std::string>& pending, const fs::path& path) {
        std::vector<std::string> parts;
        for (const auto& part : path.relative_path())
            parts.push_back(part.string());
        pending.insert(pending.end(), parts.rbegin(), parts.rend());
    }

    static bool restartAtRoot(UniqueFileDescriptor& held, fs::path& shown) {
        held = UniqueFileDescriptor(::open("/", kFolderFlags));
        shown = "/";
        return held.valid();
    }

    uid_t user_;
    const std::set<EntryStatus::Identity>* decided_;
    // Whether the kernel refuses crossings on request (openat2).
    bool withinMounts_ = true;
    int links_ = 0;
};

// /proc's name for the folder `fd` holds, where it leads there; none where
// /proc cannot reach it (not mounted).
std::optional<fs::path> procReach(int fd) {
    fs::path reach = "/proc/self/fd/" + std::to_string(fd);
    struct stat held {};
    struct stat reached {};
    if (::fstat(fd, &held) != 0 || ::stat(reach.c_str(), &reached) != 0 ||
        held.st_dev != reached.st_dev || held.st_ino != reached.st_ino)
        return std::nullopt;
    return reach;
}

}  // namespace

HeldFolder::HeldFolder(fs::path folder) : shown_(folder), reach_(std::move(folder)) {}

HeldFolder::HeldFolder(UniqueFileDescriptor fd, fs::path shown, std::vector<std::string> rest,
                       uid_t user)
    : fd_(std::move(fd)),
      shown_(std::move(shown)),
      heldShown_(shown_),
      rest_(std::move(rest)),
      user_(user) {
    reach_ = procReach(fd_.get()).value_or(shown_);
}

std::variant<HeldFolder, DefaultsStoreError> HeldFolder::walked(
    const fs::path& folder, uid_t user, const std::set<EntryStatus::Identity>* decided) {
    auto end = Walk(user, decided).from(AT_FDCWD, "/", folder);
    if (auto* refused = std::get_if<DefaultsStoreError>(&end))
        return std::move(*refused);
    auto& reached = std::get<WalkEnd>(end);
    if (reached.rest.empty())
        return HeldFolder(std::move(reached.fd), folder, {}, user);
    // Held where the walk stopped; named as asked for.
    HeldFolder deepest(std::move(reached.fd), folder, std::move(reached.rest), user);
    deepest.heldShown_ = std::move(reached.shown);
    return deepest;
}

std::variant<HeldFolder, DefaultsStoreError> HeldFolder::madeWhole() const {
    Walk walk(user_.value_or(kRoot));
    UniqueFileDescriptor held(::fcntl(fd_.get(), F_DUPFD_CLOEXEC, 0));
    auto shown = heldShown_;
    for (const auto& name : rest_) {
        if (!held.valid())
            return DefaultsStoreError::fromErrno(errno, shown.string());
        if (::mkdirat(held.get(), name.c_str(), 0700) != 0 && errno != EEXIST)
            return DefaultsStoreError::fromErrno(errno, (shown / name).string());
        // A link another put there meanwhile is followed by the same rule.
        auto end = walk.from(held.get(), shown, name);
        if (auto* refused = std::get_if<DefaultsStoreError>(&end))
            return std::move(*refused);
        auto& reached = std::get<WalkEnd>(end);
        if (!reached.rest.empty())
            return DefaultsStoreError::fromErrno(reached.stoppedBy, (shown / name).string());
        held = std::move(reached.fd);
        shown /= name;
    }
    return HeldFolder(std::move(held), shown_, {}, *user_);
}

std::variant<HeldFolder::Entry, DefaultsStoreError> HeldFolder::followed(
    std::shared_ptr<const HeldFolder> folder, const std::string& name) {
    if (!folder->user_)
        return followedByPath(std::move(folder), name);
    Walk walk(*folder->user_);
    auto at = std::move(folder);
    auto current = name;
    while (true) {
        // Unmade, nothing stands at any name there.
        if (!at->made())
            return Entry{std::move(at), current};
        struct stat info {};
        if (::fstatat(at->fd_.get(), current.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                return Entry{std::move(at), current};
            return DefaultsStoreError::fromErrno(errno, (at->heldShown_ / current).string());
        }
        if (!S_ISLNK(info.st_mode))
            return Entry{std::move(at), current};
        auto target = walk.linkTarget(at->fd_.get(), current, at->heldShown_ / current);
        if (auto* refused = std::get_if<DefaultsStoreError>(&target))
            return std::move(*refused);
        const auto& link = std::get<std::optional<std::string>>(target);
        // No longer a link: the name itself.
        if (!link)
            return Entry{std::move(at), current};
        const fs::path leadsTo(*link);
        // A link to a folder ("dir/") names the folder itself.
        const auto leaf = leadsTo.filename();
        current = (leaf.empty() ? fs::path(".") : leaf).string();
        if (!leadsTo.is_absolute() && leadsTo.parent_path().empty())
            continue;
        auto end = walk.from(at->fd_.get(), at->heldShown_, leadsTo.parent_path());
        if (auto* refused = std::get_if<DefaultsStoreError>(&end))
            return std::move(*refused);
        auto& reached = std::get<WalkEnd>(end);
        at = std::shared_ptr<const HeldFolder>(new HeldFolder(
            std::move(reached.fd), std::move(reached.shown), std::move(reached.rest), *at->user_));
    }
}

std::variant<HeldFolder::Entry, DefaultsStoreError> HeldFolder::followedByPath(
    std::shared_ptr<const HeldFolder> folder, const std::string& name) {
    fs::path current = folder->shown_ / name;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info {};
        const bool there = ::lstat(current.c_str(), &info) == 0;
        if (!there && errno != ENOENT)
            return DefaultsStoreError::fromErrno(errno, current.string());
        if (!there || !S_ISLNK(info.st_mode)) {
            if (current.parent_path() == folder->shown_)
                return Entry{std::move(folder), current.filename().string()};
            return Entry{std::make_shared<const HeldFolder>(current.parent_path()),
                         current.filename().string()};
        }
        std::array<char, 4096> target{};
        const auto length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) == target.size())
            return DefaultsStoreError::fromErrno(length < 0 ? errno : ENAMETOOLONG,
                                                 current.string());
        const fs::path leadsTo(std::string(target.data(), static_cast<std::size_t>(length)));
        current =
            (leadsTo.is_absolute() ? leadsTo : current.parent_path() / leadsTo).lexically_normal();
    }
    return DefaultsStoreError::fromErrno(ELOOP, (folder->shown_ / name).string());
}

fs::path HeldFolder::shown(const fs::path& path) const {
    const auto& reach = reach_.native();
    const auto& text = path.native();
    if (reach == shown_.native() || !text.starts_with(reach) ||
        (text.size() > reach.size() && text[reach.size()] != '/'))
        return path;
    return shown_.native() + text.substr(reach.size());
}

DefaultsStoreError HeldFolder::shown(DefaultsStoreError error) const {
    error.path = shown(fs::path(error.path)).string();
    return error;
}

}  // namespace quorvane
