#include "services/persistence/atomic_file_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "services/persistence/quorvane_file_write_error.hpp"
#include "services/persistence/temporary_file_guard.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

// Enough tries that only a folder we cannot create files in fails.
constexpr int kTemporaryNameAttempts = 64;

std::string fileNameOf(const std::filesystem::path& path) {
    const auto name = path.filename().string();
    return name.empty() ? path.string() : name;
}

// A short hidden name, so that even a target name at the length limit leaves
// room for it, and one that never ends in ".json".
std::filesystem::path temporaryPathNear(const std::filesystem::path& target, std::mt19937& random) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return target.parent_path() / (".quorvane-save-" + std::string(suffix) + ".tmp");
}

// Created with mode 0666 so the user's umask decides, as for any new file.
UniqueFileDescriptor createTemporaryFile(const std::filesystem::path& target,
                                         std::filesystem::path& created) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const auto candidate = temporaryPathNear(target, random);
        UniqueFileDescriptor fd(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.valid()) {
            created = candidate;
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    throw QuorvaneFileWriteError::fromErrno(errno, fileNameOf(target));
}

// A file replaced by an export keeps who may read it.
void keepPermissionsOfExistingFile(int fd, const std::filesystem::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        ::fchmod(fd, info.st_mode & 07777);
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    const std::string name = fileNameOf(target);
    std::filesystem::path temporaryPath;
    UniqueFileDescriptor fd = createTemporaryFile(target, temporaryPath);
    TemporaryFileGuard guard(temporaryPath.string());
    keepPermissionsOfExistingFile(fd.get(), target);
    if (!writeAllBytes(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        throw QuorvaneFileWriteError::fromErrno(errno, name);
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0)
        throw QuorvaneFileWriteError::fromErrno(errno, name);
    guard.release();
    // The new file is in place; the folder sync only makes the rename survive
    // a power loss sooner.
    const auto folder = target.parent_path();
    syncDirectory(folder.empty() ? std::filesystem::path(".") : folder);
}

}  // namespace quorvane
