#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

namespace quorvane::testing {

// What the test's stand-ins for an X server (VanishingXServer,
// CuttingXProxy) share: the X socket names and whole reads and writes.

// The abstract socket address X clients try first for display `number`
// ("@/tmp/.X11-unix/X<number>", as Xorg's).
inline std::pair<sockaddr_un, socklen_t> xSocketAddress(int number) {
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A leading NUL names an abstract socket.
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return {address, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())};
}

// Binds `listener` to the first free display number from `first` (below
// `last`) and listens; the display name (":<number>"), or "" when none was
// free.
inline std::string listenOnFreeDisplay(int listener, int first, int last) {
    for (int number = first; number < last; ++number) {
        const auto [address, length] = xSocketAddress(number);
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
            ::listen(listener, 8) == 0)
            return ":" + std::to_string(number);
    }
    return {};
}

// Protocol fields are padded to four bytes.
inline std::size_t padded4(std::size_t length) {
    return (length + 3) & ~std::size_t{3};
}

inline bool readAllBytes(int fd, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size);
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// Never raises SIGPIPE: a peer that is gone fails the write.
inline bool sendAllBytes(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace quorvane::testing
