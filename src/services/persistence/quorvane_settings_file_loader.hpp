#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Reads a settings file within its size limit. The read itself is bounded:
// it never holds more than one byte over the limit, whatever the path names
// (a file that grows while read, a FIFO, a character device such as
// /dev/zero), and it never waits longer than its time limit for data that
// does not come, so a wrong choice of file cannot hang the program or fill
// its memory.
struct QuorvaneSettingsFileLoader {
    static constexpr std::int64_t maximumBytes = 1'048'576;
    // How long a pipe or device may keep the reader waiting in total.
    static constexpr Duration defaultReadTimeLimit = std::chrono::seconds(2);

    // The bytes of the file. Throws QuorvaneSettingsDocumentError::fileTooLarge
    // when the file's size is over the limit (found before the file is
    // opened, so also for a file that could not be read) or more than the
    // limit was read, and QuorvaneSettingsFileReadError when the file cannot
    // be opened or read.
    static std::string loadData(const std::filesystem::path& path,
                                Duration readTimeLimit = defaultReadTimeLimit);

    // The size of a regular file; nullopt for anything whose size says nothing
    // about its content (pipes, devices). Throws QuorvaneSettingsFileReadError
    // when the path cannot be examined.
    static std::optional<std::int64_t> fileSize(const std::filesystem::path& path);
};

}  // namespace quorvane
