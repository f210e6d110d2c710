#pragma once

#include <filesystem>
#include <string_view>

namespace quorvane {

// Replaces the file at `target` with `bytes` so that the name holds, at every
// moment, either the old file (or nothing) or the complete new one: the bytes
// go to a new hidden file in the same folder, which is synced, given the old
// file's permissions (else the usual ones for a new file) and renamed over the
// target. A failure removes the hidden file and throws QuorvaneFileWriteError;
// the target is then untouched.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace quorvane
