#include "services/persistence/folder_aside.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace quorvane {

int moveFolderAside(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || ::rmdir(path.c_str()) == 0)
        return 0;
    // A folder may replace an empty one: the one made here under a new name.
    std::string aside = path.string() + ".aside-XXXXXX";
    if (::mkdtemp(aside.data()) == nullptr)
        return errno;
    if (::rename(path.c_str(), aside.c_str()) == 0)
        return 0;
    const int error = errno;
    ::rmdir(aside.c_str());
    return error;
}

}  // namespace quorvane
