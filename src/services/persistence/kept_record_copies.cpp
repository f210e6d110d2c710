#include "services/persistence/kept_record_copies.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "services/persistence/temporary_file_guard.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxCopiesPerSecond = 100;

SaveOutcome failedWithErrno(const fs::path& path) {
    return SaveOutcome::failed(DefaultsStoreError::fromErrno(errno, path.string()));
}

std::string copyTimestamp(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

// When a file was written, to the nanosecond, as its modification time.
using FileTime = std::pair<std::int64_t, std::int64_t>;

// One copy kept aside of a key's record: "<file name>.unreadable-<stamp>"
// or, for a later copy in the same second, "...-<stamp>-<attempt>".
struct KeptCopy {
    std::string name;
    std::string stamp;
    int attempt = 1;
    // When the copy was written, from the file itself: the stamp in its name
    // is only what the clock said, and a copy is written once.
    FileTime writtenAt{0, 0};
};

constexpr std::string_view kCopyInfix = ".unreadable-";
// "YYYYmmdd-HHMMSS"
constexpr std::size_t kCopyStampLength = 15;

std::optional<KeptCopy> keptCopyNamed(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() < prefix.size() + kCopyStampLength)
        return std::nullopt;
    name.remove_prefix(prefix.size());
    KeptCopy copy{std::string(prefix) + std::string(name),
                  std::string(name.substr(0, kCopyStampLength)), 1};
    const auto rest = name.substr(kCopyStampLength);
    if (rest.empty())
        return copy;
    if (rest.size() < 2 || rest.size() > 4 || rest.front() != '-')
        return std::nullopt;
    copy.attempt = 0;
    for (const char c : rest.substr(1)) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0)
            return std::nullopt;
        copy.attempt = copy.attempt * 10 + (c - '0');
    }
    return copy;
}

std::optional<FileTime> writtenAt(const fs::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0)
        return std::nullopt;
    return FileTime{info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

// The copies of the record in `fileName` kept aside in `folder`.
std::vector<KeptCopy> keptCopies(const fs::path& folder, const std::string& fileName) {
    const std::string prefix = fileName + std::string(kCopyInfix);
    std::vector<KeptCopy> copies;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error)
        return copies;
    for (const auto& entry : entries) {
        auto copy = keptCopyNamed(entry.path().filename().native(), prefix);
        if (!copy)
            continue;
        if (const auto time = writtenAt(entry.path()))
            copy->writtenAt = *time;
        copies.push_back(std::move(*copy));
    }
    return copies;
}

// Orders `copies` by when they were made, oldest first, given when the
// newest copy was: a copy written at a later time than that one was made
// before the clock was set back, so it is older than every copy made since,
// however far ahead its date. Copies written at one moment (the clock's
// resolution) follow their names' stamps and attempts.
void sortByWhenMade(std::vector<KeptCopy>& copies, FileTime newest) {
    std::sort(copies.begin(), copies.end(), [newest](const KeptCopy& a, const KeptCopy& b) {
        const bool aSinceTheStep = a.writtenAt <= newest;
        const bool bSinceTheStep = b.writtenAt <= newest;
        return std::tie(aSinceTheStep, a.writtenAt, a.stamp, a.attempt) <
               std::tie(bSinceTheStep, b.writtenAt, b.stamp, b.attempt);
    });
}

// Whether `file` is a regular file holding exactly `bytes`.
bool holdsExactly(const fs::path& file, std::string_view bytes) {
    UniqueFileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) != bytes.size())
        return false;
    const auto held = readAllBytes(
        [&fd](void* buffer, std::size_t size) { return ::read(fd.get(), buffer, size); },
        bytes.size());
    return held && *held == bytes;
}

// After the new copy `made`: removes the oldest of `earlier` (the copies
// made before it) until it and they make kPerRecord. The new copy is never
// among them, whatever its stamp: a clock set back must not remove the copy
// a save just named.
void removeOldCopies(const fs::path& folder, std::vector<KeptCopy> earlier, const fs::path& made) {
    const std::size_t keep = KeptRecordCopies::kPerRecord - 1;
    if (earlier.size() <= keep)
        return;
    sortByWhenMade(earlier, writtenAt(made).value_or(FileTime{INT64_MAX, 0}));
    for (std::size_t index = 0; index < earlier.size() - keep; ++index)
        ::unlink((folder / earlier[index].name).c_str());
}

// Writes `bytes` to a new file, synced; false with errno on failure.
bool writeNewFile(const KeptRecordCopies::WriteCall& writeCall, const fs::path& path,
                  std::string_view bytes) {
    UniqueFileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.valid())
        return false;
    TemporaryFileGuard guard(path.string());
    if (!writeCall(path, fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close())
        return false;
    guard.release();
    return true;
}

}  // namespace

KeptRecordCopies::KeptRecordCopies(std::filesystem::path folder, std::string_view recordFileName)
    : folder_(std::move(folder)), recordFileName_(recordFileName) {}

SaveOutcome KeptRecordCopies::keep(std::string_view bytes, const WriteCall& write,
                                   std::chrono::system_clock::time_point now) const {
    auto copies = keptCopies(folder_, recordFileName_);
    // The same broken bytes coming back (a tool rewriting its half-written
    // file, a save retried) are kept already: one copy is enough, and
    // needs no space.
    for (const auto& copy : copies) {
        if (holdsExactly(folder_ / copy.name, bytes))
            return {std::nullopt, copy.name};
    }
    const std::string base = recordFileName_ + std::string(kCopyInfix) + copyTimestamp(now);
    for (int attempt = 1; attempt <= kMaxCopiesPerSecond; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (writeNewFile(write, folder_ / name, bytes)) {
            removeOldCopies(folder_, std::move(copies), folder_ / name);
            syncDirectory(folder_);
            return {std::nullopt, name};
        }
        if (errno != EEXIST)
            return failedWithErrno(folder_ / name);
    }
    return SaveOutcome::failed(DefaultsStoreError::fromErrno(EEXIST, (folder_ / base).string()));
}

}  // namespace quorvane
