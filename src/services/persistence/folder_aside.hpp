#pragma once

#include <filesystem>

namespace quorvane {

// Clears a folder found at `path` out of the way of a file that must stand
// there: an empty one is removed, any other is moved aside under a new name
// beside it ("<name>.aside-XXXXXX"), keeping what it holds. The errno of a
// folder that stays (a mount point, a folder we may not move); 0 when none
// does, also when there is no folder at `path`.
int moveFolderAside(const std::filesystem::path& path);

}  // namespace quorvane
