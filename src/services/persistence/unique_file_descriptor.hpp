#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

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
    UniqueFileDescriptor& operator=(UniqueFileDescriptor&&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
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

}  // namespace quorvane
