#pragma once

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "services/persistence/defaults_store.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane::testing {

// A file store in `folder` whose copies of broken records find no space
// (ENOSPC), as on a full disk, while `full` holds; the records themselves
// are still written.
inline std::shared_ptr<FileDefaultsStore> filesRefusingCopies(
    const std::filesystem::path& folder, std::shared_ptr<std::atomic<bool>> full) {
    auto files = std::make_shared<FileDefaultsStore>(folder);
    files->setWriteCall([full](const std::filesystem::path& file, int fd, std::string_view bytes) {
        if (*full && file.filename().string().find(".unreadable-") != std::string::npos) {
            errno = ENOSPC;
            return false;
        }
        return writeAllBytes(fd, bytes);
    });
    return files;
}

// A file store in `folder` whose writes, records and copies alike, find no
// space (ENOSPC) while `full` holds.
inline std::shared_ptr<FileDefaultsStore> filesOnAFullDisk(
    const std::filesystem::path& folder, std::shared_ptr<std::atomic<bool>> full) {
    auto files = std::make_shared<FileDefaultsStore>(folder);
    files->setWriteCall([full](const std::filesystem::path&, int fd, std::string_view bytes) {
        if (*full) {
            errno = ENOSPC;
            return false;
        }
        return writeAllBytes(fd, bytes);
    });
    return files;
}

}  // namespace quorvane::testing
