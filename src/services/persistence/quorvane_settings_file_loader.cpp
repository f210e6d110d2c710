#include "services/persistence/quorvane_settings_file_loader.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "models/settings/quorvane_settings_document_error.hpp"
#include "services/persistence/quorvane_settings_file_read_error.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

std::string fileNameOf(const std::filesystem::path& path) {
    const auto name = path.filename().string();
    return name.empty() ? path.string() : name;
}

std::optional<std::int64_t> sizeOf(const struct stat& info) {
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

// Waits for the descriptor to become readable until `deadline`; false when
// the time ran out.
bool waitReadable(int fd, MonotonicTime deadline) {
    for (;;) {
        const auto now = MonotonicClock::now();
        if (now >= deadline)
            return false;
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(remaining.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return true;  // let read() report it
    }
}

}  // namespace

std::optional<std::int64_t> QuorvaneSettingsFileLoader::fileSize(
    const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw QuorvaneSettingsFileReadError::fromErrno(errno, fileNameOf(path));
    }
    return sizeOf(info);
}

std::string QuorvaneSettingsFileLoader::loadData(const std::filesystem::path& path,
                                                 Duration readTimeLimit) {
    const std::string name = fileNameOf(path);
    // The size first, from the path alone: a file over the limit is refused
    // before it is opened, whether or not it could be read. A path that
    // cannot be examined is left to the opening below to report.
    std::optional<std::int64_t> probed;
    try {
        probed = fileSize(path);
    } catch (const QuorvaneSettingsFileReadError&) {
    }
    if (probed && *probed > maximumBytes)
        throw QuorvaneSettingsDocumentError::fileTooLarge(maximumBytes);

    // Non-blocking, so opening a FIFO without a writer returns at once
    // instead of waiting for one.
    const UniqueFileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        throw QuorvaneSettingsFileReadError::fromErrno(errno, name);

    struct stat info {};
    if (::fstat(file.get(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            throw QuorvaneSettingsFileReadError(QuorvaneSettingsFileReadError::Kind::isDirectory,
                                                name, EISDIR);
        }
        // The file opened may not be the one probed (replaced meanwhile).
        const auto size = sizeOf(info);
        if (size && *size > maximumBytes) {
            throw QuorvaneSettingsDocumentError::fileTooLarge(maximumBytes);
        }
    }

    // One byte over the limit is enough to know the file is too large.
    const auto bound = static_cast<std::size_t>(maximumBytes) + 1;
    const MonotonicTime deadline = MonotonicClock::now() + readTimeLimit;
    std::string data;
    std::array<char, 64 * 1024> buffer{};
    while (data.size() < bound) {
        const std::size_t wanted = std::min(buffer.size(), bound - data.size());
        const ssize_t count = ::read(file.get(), buffer.data(), wanted);
        if (count > 0) {
            data.append(buffer.data(), static_cast<std::size_t>(count));
            continue;
        }
        if (count == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitReadable(file.get(), deadline)) {
                throw QuorvaneSettingsFileReadError(QuorvaneSettingsFileReadError::Kind::timedOut,
                                                    name);
            }
            continue;
        }
        throw QuorvaneSettingsFileReadError::fromErrno(errno, name);
    }
    if (static_cast<std::int64_t>(data.size()) > maximumBytes) {
        throw QuorvaneSettingsDocumentError::fileTooLarge(maximumBytes);
    }
    return data;
}

}  // namespace quorvane
