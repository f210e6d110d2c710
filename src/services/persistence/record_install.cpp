#include "services/persistence/record_install.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

bool exchangesNoNames(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

RecordInstall displacedBy(const std::string& temporary, std::optional<HeldFileNumber> read) {
    struct stat displaced {};
    const bool same = read && ::lstat(temporary.c_str(), &displaced) == 0 &&
                      displaced.st_dev == read->device && displaced.st_ino == read->inode;
    return {same ? RecordInstall::Displaced::theFileRead : RecordInstall::Displaced::anotherFile,
            true};
}

// Whether `target` still holds the file the write was made from (nothing,
// where none was read, or where the record was removed since).
bool holdsTheFileRead(const std::filesystem::path& target, std::optional<HeldFileNumber> read) {
    struct stat named {};
    if (::lstat(target.c_str(), &named) != 0)
        return errno == ENOENT;
    return read && named.st_dev == read->device && named.st_ino == read->inode;
}

// The file at `path`, open while this lives; none where nothing at the
// name opens (nothing of ours can cross its replacement then).
class HeldAt {
  public:
    explicit HeldAt(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC)) {}
    // Closed keeping the errno of what was done meanwhile.
    ~HeldAt() {
        const int error = errno;
        fd_.close();
        errno = error;
    }
    HeldAt(const HeldAt&) = delete;
    HeldAt& operator=(const HeldAt&) = delete;

  private:
    UniqueFileDescriptor fd_;
};

}  // namespace

bool renameHolding(const std::string& from, const std::filesystem::path& to) {
    const HeldAt held(to);
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeHolding(const std::filesystem::path& path) {
    const HeldAt held(path);
    return ::unlink(path.c_str()) == 0;
}

bool exchangeNames(const std::string& first, const std::filesystem::path& second) {
    return ::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0;
}

std::variant<RecordInstall, int> installRecord(const std::string& temporary,
                                               const std::filesystem::path& target,
                                               std::optional<HeldFileNumber> read) {
    // Something removed the record since, or made one where there was
    // none: one more try the other way, then the next.
    unsigned flags = read ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    for (int tries = 0; tries < 3; ++tries) {
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), flags) == 0) {
            if (flags == RENAME_NOREPLACE)
                return RecordInstall{};
            return displacedBy(temporary, read);
        }
        const int error = errno;
        if (exchangesNoNames(error))
            break;
        if (error == ENOENT && flags == RENAME_EXCHANGE)
            flags = RENAME_NOREPLACE;
        else if (error == EEXIST && flags == RENAME_NOREPLACE)
            flags = RENAME_EXCHANGE;
        else
            return error;
    }
    // Nothing keeps what a plain rename replaces: a record another writer
    // landed since this one read is left where it is, to be merged onto.
    if (!holdsTheFileRead(target, read))
        return RecordInstall{RecordInstall::Displaced::anotherFile, false};
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return errno;
    return RecordInstall{
        read ? RecordInstall::Displaced::theFileRead : RecordInstall::Displaced::nothing, false};
}

}  // namespace quorvane
