#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

// Owns one open file descriptor and closes it once.
class UniqueFileDescriptor {
  public:
    explicit UniqueFileDescriptor(int fd) : fd_(fd) {}
    ~UniqueFileDescriptor() { close(); }
    UniqueFileDescriptor(const UniqueFileDescriptor&) = delete;
    UniqueFileDescriptor& operator=(const UniqueFileDescriptor&) = delete;
    UniqueFileDescriptor(UniqueFileDescriptor&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)) {}
    // Closes the descriptor held before.
    UniqueFileDescriptor& operator=(UniqueFileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Gives up the descriptor to the caller, who closes it.
    int release() { return std::exchange(fd_, -1); }
    // Closes now and reports whether the close succeeded: on some file
    // systems a failed close is a lost write.
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Writes every byte, retrying after interruptions and short writes; false
// (errno set) when the system refused.
inline bool writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads to the end through `read` (as ::read on one open file: the count, 0
// at the end, -1 with errno set), giving up once more than `limit` bytes
// arrive (errno EFBIG).
template <typename Read>
std::optional<std::string> readAllBytes(Read&& read, std::size_t limit) {
    std::string result;
    // Left unfilled: a record is a few kilobytes, and clearing the whole
    // buffer on every read cost more than reading it.
    constexpr std::size_t kBufferSize = 64 * 1024;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    for (;;) {
        const ssize_t count = read(buffer.get(), kBufferSize);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return result;
        result.append(buffer.get(), static_cast<std::size_t>(count));
        if (result.size() > limit) {
            errno = EFBIG;
            return std::nullopt;
        }
    }
}

// Makes the folder's entries (a file renamed or created in it) reach the
// disk; false when they may not have.
inline bool syncDirectory(const std::filesystem::path& folder) {
    UniqueFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

}  // namespace quorvane
