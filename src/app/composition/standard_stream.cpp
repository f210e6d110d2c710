#include "app/composition/standard_stream.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvane {

StandardStream::StandardStream(int fd) : fd_(fd) {
    if (::fcntl(fd_, F_GETFD) != -1 || errno != EBADF)
        return;
    closedAtStart_ = true;
    // open() returns the lowest free descriptor, which is this one.
    const int placeholder = ::open("/dev/null", O_WRONLY);
    if (placeholder >= 0 && placeholder != fd_)
        ::close(placeholder);
}

void StandardStream::write(std::string_view text) {
    if (error_)
        return;
    if (closedAtStart_) {
        error_ = EBADF;
        return;
    }
    while (!text.empty()) {
        const ssize_t written = ::write(fd_, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written < 0 ? errno : EIO;
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::optional<std::string> StandardStream::failure() const {
    if (!error_)
        return std::nullopt;
    return std::string(std::strerror(*error_));
}

}  // namespace quorvane
