#pragma once

#include <filesystem>

namespace quorvane {

// Gives the new file `fd` to the user who owns `folder`, where this process
// runs as root and that user is another (a command run through sudo that
// kept the user's environment, so the user's settings folder): the file
// is then the user's, as every file the user's own saves make there, and
// the user can still read the record and its stamps, and replace them.
// Anywhere else the file stays this process's.
void giveToFolderOwner(int fd, const std::filesystem::path& folder);

}  // namespace quorvane
