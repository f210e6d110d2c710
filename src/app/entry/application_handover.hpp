#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The windowed application is a program of its own next to `quorvane`, so the
// command line never loads Qt. These find it and hand the process over.

// Installed layouts: beside the entry (the build tree), or in
// ../libexec/quorvane/ (an installed prefix). None when neither exists.
std::optional<std::filesystem::path> applicationExecutable(
    const std::filesystem::path& entryExecutable);

// Replaces this process with the application, passing `arguments` (program
// path first, as received) on unchanged after its own path. Returns only on
// failure, with the status to exit with, after saying why on standard error.
int handOverToApplication(const std::vector<std::string>& arguments);

}  // namespace quorvane
