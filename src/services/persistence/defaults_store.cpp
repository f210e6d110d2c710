#include "services/persistence/defaults_store.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace quorvane {

namespace {

constexpr std::string_view kFolderName = "quorvane";
constexpr std::string_view kFileExtension = ".json";

// Owns one open file descriptor.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a failed close can
    // be a lost write on some file systems).
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }
    void reset() { close(); }

  private:
    int fd_;
};

// Removes the temporary file unless the write completed.
class TemporaryFileGuard {
  public:
    explicit TemporaryFileGuard(std::string path) : path_(std::move(path)) {}
    ~TemporaryFileGuard() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
    void release() { path_.clear(); }

  private:
    std::string path_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads to the end, giving up once more than `limit` bytes arrive.
std::optional<std::string> readAll(int fd, std::size_t limit) {
    std::string result;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return result;
        result.append(buffer.data(), static_cast<std::size_t>(count));
        if (result.size() > limit)
            return std::nullopt;
    }
}

std::optional<std::string> passwordDatabaseHome() {
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0) {
        return std::nullopt;
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

std::optional<std::string_view> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string_view(value);
}

bool isAbsolute(std::optional<std::string_view> path) {
    return path && !path->empty() && path->front() == '/';
}

}  // namespace

FileDefaultsStore::FileDefaultsStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path FileDefaultsStore::standardLocation(
    std::optional<std::string_view> xdgConfigHome, std::optional<std::string_view> home) {
    // Relative values are invalid by the XDG rules and would make the
    // settings depend on the working directory.
    if (isAbsolute(xdgConfigHome))
        return std::filesystem::path(*xdgConfigHome) / kFolderName;
    if (isAbsolute(home))
        return std::filesystem::path(*home) / ".config" / kFolderName;
    return {};
}

std::filesystem::path FileDefaultsStore::standardLocation() {
    auto home = environmentValue("HOME");
    std::optional<std::string> fallbackHome;
    if (!isAbsolute(home)) {
        fallbackHome = passwordDatabaseHome();
        home = fallbackHome ? std::optional<std::string_view>(*fallbackHome) : std::nullopt;
    }
    return standardLocation(environmentValue("XDG_CONFIG_HOME"), home);
}

std::filesystem::path FileDefaultsStore::pathForKey(std::string_view key) const {
    return folder_ / (std::string(key) + std::string(kFileExtension));
}

std::optional<std::string> FileDefaultsStore::dataForKey(std::string_view key) const {
    if (folder_.empty() || !isValidDefaultsKey(key))
        return std::nullopt;
    // O_NONBLOCK so a FIFO or device planted at the path cannot hang the
    // read; only a regular file counts as a stored value.
    FileDescriptor fd(::open(pathForKey(key).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxValueSize)
        return std::nullopt;
    return readAll(fd.get(), kMaxValueSize);
}

bool FileDefaultsStore::ensureFolder() const {
    // Every missing level is created private to the user, as the XDG rules ask.
    std::filesystem::path partial;
    for (const auto& part : folder_) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileDefaultsStore::syncFolder() const {
    FileDescriptor fd(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

bool FileDefaultsStore::setData(std::string_view key, std::string_view bytes) {
    if (folder_.empty() || !isValidDefaultsKey(key) || !ensureFolder())
        return false;
    const auto target = pathForKey(key);
    // A hidden name that never ends in ".json", so a file left by a crash is
    // never taken for a stored value.
    std::string temporaryPath =
        (folder_ / ("." + std::string(key) + std::string(kFileExtension) + ".XXXXXX")).string();
    // mkostemp opens with O_CREAT | O_EXCL and mode 0600 under a unique name.
    FileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return false;
    TemporaryFileGuard guard(temporaryPath);
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        return false;
    if (beforeRename_ && !beforeRename_(temporaryPath))
        return false;
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0)
        return false;
    guard.release();
    // The new value is in place now; a failed folder sync only means it may
    // not survive a power loss, which the caller learns from the result.
    return syncFolder();
}

bool FileDefaultsStore::removeKey(std::string_view key) {
    if (folder_.empty() || !isValidDefaultsKey(key))
        return false;
    if (::unlink(pathForKey(key).c_str()) != 0)
        return errno == ENOENT;
    return syncFolder();
}

}  // namespace quorvane
