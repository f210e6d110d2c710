#include "views/file_dialogs/path_look_ups.hpp"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <list>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace quorvane {

namespace fs = std::filesystem;

namespace {

// What the threads that ask are called, as a debugger or ps lists them.
constexpr char kThreadName[] = "path look-up";

// `path` by its parts alone: "/a/./b/" is "/a/b".
fs::path plain(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path())
        normal = normal.parent_path();
    return normal;
}

// Whether `place` is `path` or a folder on its way.
bool onTheWayTo(const fs::path& place, const fs::path& path) {
    const fs::path way = plain(place);
    const fs::path whole = plain(path);
    return std::mismatch(way.begin(), way.end(), whole.begin(), whole.end()).first == way.end();
}

// The folders above `path`, the root first.
std::vector<fs::path> foldersAbove(const fs::path& path) {
    std::vector<fs::path> folders;
    for (auto folder = path.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        folders.push_back(folder);
        if (folder == folder.root_path())
            break;
    }
    std::ranges::reverse(folders);
    return folders;
}

}  // namespace

struct PathLookUps::Shared : std::enable_shared_from_this<Shared> {
    struct Question {
        unsigned number = 0;
        fs::path path;
    };
    struct Running {
        unsigned question = 0;
        // Where the look-up asks the file system now.
        fs::path place;
    };
    using RunningAt = std::list<Running>::iterator;

    std::mutex mutex;
    // Empty once the owner is gone.
    std::function<void(unsigned)> answered;
    std::list<Running> running;
    std::optional<Question> pending;

    // Under `mutex`. The thread is named before it runs: it first waits for
    // the lock held here.
    void startPendingIfFree() {
        if (!pending || running.size() >= kMostRunning)
            return;
        for (const Running& each : running)
            if (onTheWayTo(each.place, pending->path))
                return;
        Question asked = std::move(*pending);
        pending.reset();
        const RunningAt mine =
            running.insert(running.end(), Running{asked.number, asked.path.root_path()});
        std::thread thread([self = shared_from_this(), mine, path = std::move(asked.path)] {
            self->lookUp(mine, path);
        });
        ::pthread_setname_np(thread.native_handle(), kThreadName);
        thread.detach();
    }

    void standAt(RunningAt mine, const fs::path& place) {
        std::lock_guard lock(mutex);
        mine->place = place;
        startPendingIfFree();
    }

    // What Qt's dialog asks of the file system for a path typed or opened:
    // every folder above it and how long a name its folder takes, the path
    // itself, and whether the user may read, write and enter it (asked as a
    // folder opens, and never kept by the kernel).
    void lookUp(RunningAt mine, const fs::path& path) {
        struct stat info {};
        for (const fs::path& folder : foldersAbove(path)) {
            standAt(mine, folder);
            ::stat(folder.c_str(), &info);
        }
        ::pathconf(path.parent_path().c_str(), _PC_NAME_MAX);
        standAt(mine, path);
        ::stat(path.c_str(), &info);
        for (const int right : {R_OK, W_OK, X_OK})
            ::access(path.c_str(), right);
        std::lock_guard lock(mutex);
        const unsigned question = mine->question;
        running.erase(mine);
        if (answered)
            answered(question);
        startPendingIfFree();
    }
};

PathLookUps::PathLookUps(std::function<void(unsigned question)> answered)
    : shared_(std::make_shared<Shared>()) {
    shared_->answered = std::move(answered);
}

PathLookUps::~PathLookUps() {
    std::lock_guard lock(shared_->mutex);
    shared_->answered = nullptr;
    shared_->pending.reset();
}

void PathLookUps::ask(unsigned question, std::filesystem::path path) {
    std::lock_guard lock(shared_->mutex);
    shared_->pending = Shared::Question{question, std::move(path)};
    shared_->startPendingIfFree();
}

}  // namespace quorvane
