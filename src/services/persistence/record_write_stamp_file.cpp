#include "services/persistence/record_write_stamp_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <random>
#include <utility>

#include "services/persistence/folder_aside.hpp"
#include "services/persistence/record_install.hpp"
#include "services/persistence/temporary_file_guard.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

// How long after its stamps a write's record may land: a moment (the two
// renames follow each other under the folder's lock), given room for a
// busy machine.
constexpr Duration kRecordAfterItsStamps = std::chrono::milliseconds(1000);
// The random letters ending a temporary name ("XXXXXX"), and how many names
// a link tries before it gives up on finding a free one.
constexpr std::size_t kSuffixLength = 6;
constexpr int kNameTries = 100;

std::optional<std::string> readAll(int fd, std::size_t limit) {
    return readAllBytes([fd](void* buffer, std::size_t size) { return ::read(fd, buffer, size); },
                        limit);
}

// A write puts its record in place right after its stamps, and a write of
// the stamps alone comes after its record: a record that changed later
// than that was written over or put back since by something that keeps no
// stamp (a backup copied over it, or put back as a new file that got the
// same inode number), whatever its bytes, and even where its file system
// keeps neither a birth time nor a generation to tell. Both times come from
// the one file system's clock.
bool changedSinceItsWrite(const RecordFileIdentity& file, const struct stat& stampInfo) {
    const auto latest = latestChangeTime(stampInfo).time_since_epoch() + kRecordAfterItsStamps;
    return file.changedAfter(std::chrono::duration_cast<std::chrono::nanoseconds>(latest).count());
}

Date earliestChangeTime(const struct stat& info) {
    return Date(std::chrono::duration_cast<Date::duration>(
        std::chrono::nanoseconds(nanosecondsSinceEpoch(info.st_ctim))));
}

// `stamp`, read from the stamps' file `stampInfo` tells of at `now`, with
// its times on `clock`'s line where one is given.
RecordWriteStamp placed(const RecordWriteStamp& stamp, const struct stat& stampInfo, Date now,
                        const RequestClock* clock) {
    if (!clock)
        return stamp.upTo(std::min(now, latestChangeTime(stampInfo)));
    return stamp.onLineOf(*clock, earliestChangeTime(stampInfo), latestChangeTime(stampInfo))
        .upTo(now);
}

}  // namespace

Date latestChangeTime(const struct stat& info) {
    timespec tick{};
    if (::clock_getres(CLOCK_REALTIME_COARSE, &tick) != 0)
        tick = {0, 10'000'000};
    const auto changed =
        std::chrono::seconds(info.st_ctim.tv_sec) + std::chrono::nanoseconds(info.st_ctim.tv_nsec);
    auto lag = std::chrono::seconds(tick.tv_sec) + std::chrono::nanoseconds(tick.tv_nsec);
    if (info.st_ctim.tv_nsec == 0)
        lag += std::chrono::seconds(2);
    return Date(std::chrono::duration_cast<Date::duration>(changed + lag));
}

RecordWriteStampFile::RecordWriteStampFile(std::filesystem::path folder,
                                           std::string_view recordFileName)
    : folder_(std::move(folder)),
      recordFileName_(recordFileName),
      path_(folder_ / RecordWriteStamp::fileNameFor(recordFileName)),
      keptPath_(path_.string() + "~") {}

std::optional<RecordWriteStamp> RecordWriteStampFile::describing(
    const RecordFileIdentity& file, std::string_view bytes, Date now, const RequestClock* clock,
    const RecordWriteStampDecoder* decoder) const {
    return lookUp(file, bytes, now, clock, decoder).stamp;
}

RecordWriteStampFile::Lookup RecordWriteStampFile::lookUp(
    const RecordFileIdentity& file, std::string_view bytes, Date now, const RequestClock* clock,
    const RecordWriteStampDecoder* decoder) const {
    bool broken = false;
    auto found = lookUpIn(path_, file, bytes, now, clock, decoder, broken);
    if (found.stamp || !broken)
        return found;
    // What a crash leaves of stamps never synced (a file whose blocks never
    // reached the disk), or stamps another user keeps private: the kept
    // ones may still describe the record.
    bool keptBroken = false;
    auto kept = lookUpIn(keptPath_, file, bytes, now, clock, decoder, keptBroken);
    return kept.stamp ? kept : found;
}

RecordWriteStampFile::Lookup RecordWriteStampFile::lookUpIn(const std::filesystem::path& path,
                                                            const RecordFileIdentity& file,
                                                            std::string_view bytes, Date now,
                                                            const RequestClock* clock,
                                                            const RecordWriteStampDecoder* decoder,
                                                            bool& broken) const {
    UniqueFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat stampInfo {};
    if (!fd.valid()) {
        // Another user's stamps, private to them: they stand there all the
        // same, and may have been made for this very file.
        const bool refused = errno == EACCES || errno == EPERM;
        broken = refused || errno == ENOENT;
        return {std::nullopt, refused && ::lstat(path.c_str(), &stampInfo) == 0 &&
                                  S_ISREG(stampInfo.st_mode) &&
                                  !changedSinceItsWrite(file, stampInfo)};
    }
    if (::fstat(fd.get(), &stampInfo) != 0 || !S_ISREG(stampInfo.st_mode))
        return {};
    const auto held = readAll(fd.get(), kMaxSize);
    if (!held) {
        broken = errno != EFBIG;
        return {std::nullopt, broken && !changedSinceItsWrite(file, stampInfo)};
    }
    const auto stamp =
        describedIn(*held, file, bytes, changedSinceItsWrite(file, stampInfo), decoder);
    if (!stamp) {
        const auto newest = std::string_view(*held).substr(0, held->find('\n'));
        broken = !(decoder ? decoder->decode(newest) : RecordWriteStamp::decode(newest));
        return {std::nullopt, false,
                !changedSinceItsWrite(file, stampInfo) &&
                    describedBeforeAPendingWrite(*held, file, bytes, decoder)};
    }
    return {placed(*stamp, stampInfo, now, clock)};
}

std::optional<RecordWriteStamp> RecordWriteStampFile::describedIn(
    std::string_view lines, const RecordFileIdentity& file, std::string_view bytes,
    bool changedSince, const RecordWriteStampDecoder* decoder) {
    // A record changed since is still the one a pending stamp waits for:
    // nothing but that write's own rename puts that file, with those
    // bytes, at the record's name before the writer says it landed.
    for (bool newest = true; !lines.empty(); newest = false) {
        const auto end = std::min(lines.find('\n'), lines.size());
        const auto line = lines.substr(0, end);
        auto stamp = decoder ? decoder->decode(line) : RecordWriteStamp::decode(line);
        if (stamp && stamp->describes(file, bytes) &&
            (newest || stamp->file.tellsApartFrom(file)) &&
            (!changedSince || (newest && stamp->pending)))
            return stamp;
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
    return std::nullopt;
}

bool RecordWriteStampFile::describedBeforeAPendingWrite(std::string_view lines,
                                                        const RecordFileIdentity& file,
                                                        std::string_view bytes,
                                                        const RecordWriteStampDecoder* decoder) {
    for (bool newest = true; !lines.empty(); newest = false) {
        const auto end = std::min(lines.find('\n'), lines.size());
        const auto line = lines.substr(0, end);
        const auto stamp = decoder ? decoder->decode(line) : RecordWriteStamp::decode(line);
        if (newest && !(stamp && stamp->pending))
            return false;
        if (!newest && stamp && stamp->describes(file, bytes))
            return true;
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
    return false;
}

std::optional<std::string> RecordWriteStampFile::linesDescribing(const RecordFileIdentity& file,
                                                                 std::string_view bytes) const {
    UniqueFileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    auto held = readAll(fd.get(), kMaxSize);
    if (!held || !describedIn(*held, file, bytes, false, nullptr))
        return std::nullopt;
    return held;
}

void RecordWriteStampFile::putBack(std::string_view lines) const {
    std::string temporaryPath = temporaryName();
    UniqueFileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return;
    TemporaryFileGuard guard(temporaryPath);
    if (!writeAllBytes(fd.get(), lines) || ::fsync(fd.get()) != 0 || !fd.close() ||
        !renameHolding(temporaryPath, path_))
        return;
    guard.release();
}

std::optional<DefaultsStoreError> RecordWriteStampFile::fillTemporary(
    UniqueFileDescriptor fd, const RecordWriteStamp& stamp,
    const std::optional<RecordWriteStamp>& previous, bool synced) const {
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    std::string lines = stamp.encoded();
    if (previous) {
        lines += '\n';
        lines += previous->encoded();
    }
    if (!writeAllBytes(fd.get(), lines) || (synced && ::fsync(fd.get()) != 0) || !fd.close())
        return DefaultsStoreError::fromErrno(errno, path_.string());
    if (const int error = moveFolderAside(); error != 0)
        return DefaultsStoreError::fromErrno(error, path_.string());
    return std::nullopt;
}

std::variant<RecordWriteStampFile::Replacement, DefaultsStoreError>
RecordWriteStampFile::replaceWith(const RecordWriteStamp& stamp,
                                  const std::optional<RecordWriteStamp>& previous,
                                  bool synced) const {
    // Named like the record's own temporary files, so one left by a crash
    // is removed with them.
    std::string temporaryPath = temporaryName();
    UniqueFileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return DefaultsStoreError::fromErrno(errno, path_.string());
    TemporaryFileGuard guard(temporaryPath);
    if (auto error = fillTemporary(std::move(fd), stamp, previous, synced))
        return std::move(*error);
    auto swapped = swapIn(temporaryPath);
    if (const auto* error = std::get_if<int>(&swapped))
        return DefaultsStoreError::fromErrno(*error, path_.string());
    guard.release();
    return std::get<Replacement>(std::move(swapped));
}

std::optional<DefaultsStoreError> RecordWriteStampFile::write(
    const RecordWriteStamp& stamp, const std::optional<RecordWriteStamp>& previous,
    const RecordFileIdentity& file, std::string_view bytes,
    const RecordWriteStampDecoder* decoder) const {
    bool keptBroken = false;
    const bool keptDescribe =
        lookUpIn(keptPath_, file, bytes, Date::max(), nullptr, decoder, keptBroken)
            .stamp.has_value();
    // Kept at once, so nothing is ever put back: the stamps before need no
    // second name, and one exchange or rename puts the new ones in their
    // place (no reader finds the name empty meanwhile).
    std::string temporaryPath = temporaryName();
    UniqueFileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return DefaultsStoreError::fromErrno(errno, path_.string());
    TemporaryFileGuard guard(temporaryPath);
    if (auto error = fillTemporary(std::move(fd), stamp, previous, !keptDescribe))
        return error;
    // The stamps before, now under the temporary name, go with the guard.
    if (keptDescribe && exchangeNames(temporaryPath, path_))
        return std::nullopt;
    if (!renameHolding(temporaryPath, path_))
        return DefaultsStoreError::fromErrno(errno, path_.string());
    guard.release();
    if (!keptDescribe)
        keepSynced();
    return std::nullopt;
}

void RecordWriteStampFile::keepSynced() const {
    // Never renamed over: the kept stamps go a moment before their
    // successor is linked in, where a crash leaves the synced stamps at
    // the name to describe the record.
    removeHolding(keptPath_);
    ::link(path_.c_str(), keptPath_.c_str());
}

void RecordWriteStampFile::confirm(const RecordWriteStamp& stamp,
                                   const std::optional<RecordWriteStamp>& previous) const {
    auto landed = stamp;
    landed.pending = false;
    // Lost, the pending stamp stays, and still describes the record.
    auto replaced = replaceWith(landed, previous, true);
    if (auto* replacement = std::get_if<Replacement>(&replaced)) {
        replacement->keep();
        keepSynced();
    }
}

std::string RecordWriteStampFile::temporaryName() const {
    return (folder_ / ("." + recordFileName_ + ".XXXXXX")).string();
}

std::string RecordWriteStampFile::linkedUnderTemporaryName() const {
    // The link itself finds a free name: a file made and removed to find
    // one lingers through FUSE, which keeps a file removed before the
    // kernel told it of its close under a ".fuse_hidden" name for good.
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int tries = 0; tries < kNameTries; ++tries) {
        auto name = temporaryName();
        for (std::size_t at = name.size() - kSuffixLength; at < name.size(); ++at)
            name[at] = kLetters[random() % kLetters.size()];
        if (::link(path_.c_str(), name.c_str()) == 0)
            return name;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

std::variant<RecordWriteStampFile::Replacement, int> RecordWriteStampFile::swapIn(
    const std::string& temporaryPath) const {
    // The stamps before keep a second name (a link, so no reader ever finds
    // the stamps' name empty), under which they wait to be put back. The
    // folder lock keeps the free name free. Watchers of the folder hear
    // only the stamps' name written.
    std::string displaced = linkedUnderTemporaryName();
    // None before, nothing to put back; stamps that cannot be linked
    // cannot be put back, and the new ones still describe the record
    // before in their second line.
    const bool canPutBack = !displaced.empty() || errno == ENOENT;
    // Held open until the put-back is decided, so its inode number cannot
    // come back on a file another writer puts at the name meanwhile.
    UniqueFileDescriptor placed(
        ::open(temporaryPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat placedInfo {};
    if (!placed.valid() || ::fstat(placed.get(), &placedInfo) != 0 ||
        !renameHolding(temporaryPath, path_)) {
        const int error = errno;
        if (!displaced.empty())
            ::unlink(displaced.c_str());
        return error;
    }
    return Replacement(path_, std::move(displaced), canPutBack, std::move(placed), placedInfo);
}

RecordWriteStampFile::Replacement::Replacement(std::filesystem::path path, std::string displaced,
                                               bool canPutBack, UniqueFileDescriptor placed,
                                               const struct stat& placedInfo)
    : path_(std::move(path)),
      displaced_(std::move(displaced)),
      canPutBack_(canPutBack),
      placed_(std::move(placed)),
      placedDevice_(placedInfo.st_dev),
      placedInode_(placedInfo.st_ino) {}

RecordWriteStampFile::Replacement::Replacement(Replacement&& other) noexcept
    : path_(std::move(other.path_)),
      displaced_(std::move(other.displaced_)),
      canPutBack_(other.canPutBack_),
      kept_(std::exchange(other.kept_, true)),
      placed_(std::move(other.placed_)),
      placedDevice_(other.placedDevice_),
      placedInode_(other.placedInode_) {}

RecordWriteStampFile::Replacement::~Replacement() {
    if (kept_ || !canPutBack_)
        return;
    if (!stillPlaced()) {
        keep();
        return;
    }
    if (displaced_.empty())
        ::unlink(path_.c_str());
    else
        ::rename(displaced_.c_str(), path_.c_str());
}

bool RecordWriteStampFile::Replacement::stillPlaced() const {
    struct stat current {};
    return ::lstat(path_.c_str(), &current) == 0 && current.st_dev == placedDevice_ &&
           current.st_ino == placedInode_;
}

void RecordWriteStampFile::Replacement::keep() {
    kept_ = true;
    if (!displaced_.empty())
        ::unlink(displaced_.c_str());
}

int RecordWriteStampFile::moveFolderAside() const {
    return quorvane::moveFolderAside(path_);
}

void RecordWriteStampFile::remove() const {
    ::unlink(path_.c_str());
    ::unlink(keptPath_.c_str());
}

}  // namespace quorvane
