#include "platform/linux/defaults_folder_watcher.hpp"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace quorvane {

namespace {

// The records in the folder: written into place, or gone from it; and the
// folder itself going.
constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM |
                                        IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// A name on the way to the folder coming or going, and the folder above
// going itself.
constexpr std::uint32_t kAboveEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM |
                                       IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kWatchGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

bool isFolder(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::filesystem::path withoutTrailingSeparator(std::filesystem::path path) {
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path())
        path = path.parent_path();
    return path;
}

}  // namespace

DefaultsFolderWatcher::DefaultsFolderWatcher(std::filesystem::path folder,
                                             std::set<std::string> fileNames)
    : folder_(withoutTrailingSeparator(std::move(folder))), fileNames_(std::move(fileNames)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    watchFolder();
    if (!watching())
        ::close(std::exchange(fd_, -1));
}

DefaultsFolderWatcher::~DefaultsFolderWatcher() {
    if (fd_ >= 0)
        ::close(fd_);
}

void DefaultsFolderWatcher::dropWatches() {
    for (int* watch : {&folderWatch_, &aboveWatch_}) {
        if (*watch >= 0)
            ::inotify_rm_watch(fd_, std::exchange(*watch, -1));
    }
    nameAbove_.clear();
}

bool DefaultsFolderWatcher::watchFolder() {
    dropWatches();
    if (isFolder(folder_))
        folderWatch_ = ::inotify_add_watch(fd_, folder_.c_str(), kFolderEvents);
    // Above the folder, or above the nearest part of its path that is
    // there: where it (or the way to it) goes away and comes back.
    auto below = folder_;
    if (folderWatch_ < 0) {
        while (below.has_parent_path() && below != below.parent_path() &&
               !isFolder(below.parent_path()))
            below = below.parent_path();
    }
    const auto above = below.parent_path();
    if (!above.empty() && above != below) {
        aboveWatch_ = ::inotify_add_watch(fd_, above.c_str(), kAboveEvents);
        nameAbove_ = below.filename().string();
    }
    return folderWatch_ >= 0;
}

DefaultsFolderWatcher::Changes DefaultsFolderWatcher::takeChanges() {
    Changes changes;
    if (fd_ < 0)
        return changes;
    const auto written = [&](const std::string& name) {
        changes.removed.erase(name);
        changes.written.insert(name);
    };
    const auto removed = [&](const std::string& name) {
        changes.written.erase(name);
        changes.removed.insert(name);
    };
    bool folderMoved = false;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        for (ssize_t offset = 0; offset < count;) {
            inotify_event event{};
            std::memcpy(&event, buffer + offset, sizeof event);
            // The name follows the fixed part, padded with NULs.
            const char* text = buffer + offset + sizeof(inotify_event);
            const std::string name(text, event.len > 0 ? ::strnlen(text, event.len) : 0);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            // An overflowed queue lost events: anything may have happened.
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                folderMoved = true;
            } else if (event.wd == folderWatch_) {
                if ((event.mask & kWatchGone) != 0)
                    folderMoved = true;
                else if (!fileNames_.contains(name))
                    continue;
                else if ((event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) != 0)
                    written(name);
                else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0)
                    removed(name);
            } else if (event.wd == aboveWatch_) {
                if ((event.mask & kWatchGone) != 0 || name == nameAbove_)
                    folderMoved = true;
            }
            // Anything else comes from a watch already dropped.
        }
    }
    // A name exchanged with another (a write that keeps what it displaced)
    // is told moved in and then moved out: one still there was written.
    for (const auto& name : std::set<std::string>(changes.removed)) {
        struct stat info {};
        if (!folderMoved && ::lstat((folder_ / name).c_str(), &info) == 0)
            written(name);
    }
    if (folderMoved) {
        // Watched again from where the path now ends. A folder there is read
        // again whole, whatever this batch said of it; one gone took its
        // records with it.
        const bool wasThere = folderWatch_ >= 0;
        const bool there = watchFolder();
        for (const auto& name : fileNames_) {
            if (there)
                written(name);
            else if (wasThere)
                removed(name);
        }
    }
    return changes;
}

}  // namespace quorvane
