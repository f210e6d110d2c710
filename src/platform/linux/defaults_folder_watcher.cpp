#include "platform/linux/defaults_folder_watcher.hpp"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace quorvane {

DefaultsFolderWatcher::DefaultsFolderWatcher(const std::filesystem::path& folder,
                                             std::set<std::string> fileNames)
    : fileNames_(std::move(fileNames)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    watch_ = ::inotify_add_watch(fd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_ONLYDIR);
    if (watch_ < 0) {
        ::close(std::exchange(fd_, -1));
    }
}

DefaultsFolderWatcher::~DefaultsFolderWatcher() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::set<std::string> DefaultsFolderWatcher::takeChangedFiles() {
    std::set<std::string> changed;
    if (fd_ < 0)
        return changed;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return changed;
        for (ssize_t offset = 0; offset < count;) {
            inotify_event event{};
            std::memcpy(&event, buffer + offset, sizeof event);
            // The name follows the fixed part, padded with NULs.
            const char* name = buffer + offset + sizeof(inotify_event);
            if (event.len > 0) {
                std::string fileName(name, ::strnlen(name, event.len));
                if (fileNames_.contains(fileName))
                    changed.insert(std::move(fileName));
            }
            // An overflowed queue lost events: any file may have changed.
            if ((event.mask & IN_Q_OVERFLOW) != 0)
                changed.insert(fileNames_.begin(), fileNames_.end());
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
    }
}

}  // namespace quorvane
