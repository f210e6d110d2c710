#include "services/persistence/defaults_store.hpp"
#include "services/persistence/kept_record_copies.hpp"
#include "services/persistence/record_file_identity.hpp"
#include "services/persistence/record_install.hpp"
#include "services/persistence/record_write_stamp_file.hpp"
#include "services/persistence/rights/folder_owner_rights.hpp"
#include "services/persistence/rights/held_folder.hpp"
#include "services/persistence/temporary_file_guard.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>
#include <variant>
#include <vector>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFolderName = "quorvane";
constexpr std::string_view kFileExtension = ".json";
// mkostemp's six random letters and digits.
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

ssize_t systemRead(const fs::path&, int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}

// A record that is not there was last changed when it was removed (or its
// folder, or a folder above it): the nearest folder on its path that is
// still there was modified then, or later.
std::optional<Date> latestRemovalTime(const fs::path& file) {
    for (auto folder = file.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) == 0)
            return S_ISDIR(info.st_mode) ? std::optional(latestChangeTime(info)) : std::nullopt;
        if (folder == folder.parent_path())
            break;
    }
    return std::nullopt;
}

// Reads `file` to the end, giving up once more than `limit` bytes arrive.
std::optional<std::string> readAll(const FileDefaultsStore::ReadCall& readCall,
                                   const fs::path& file, int fd, std::size_t limit) {
    return readAllBytes(
        [&](void* buffer, std::size_t size) { return readCall(file, fd, buffer, size); }, limit);
}

std::optional<std::string> passwordDatabaseHome() {
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0) {
        return std::nullopt;
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

std::optional<std::string_view> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string_view(value);
}

bool isAbsolute(std::optional<std::string_view> path) {
    return path && !path->empty() && path->front() == '/';
}

DefaultsStoreError unreadable(const fs::path& path, std::string detail) {
    return {DefaultsStoreError::Kind::unreadable, path.string(), std::move(detail)};
}

SaveOutcome failedWithErrno(const fs::path& path) {
    return SaveOutcome::failed(DefaultsStoreError::fromErrno(errno, path.string()));
}

// The record `name` in `folder` opened to read (-1 with errno where it
// cannot be), following a link there as the folder's rule allows; why not,
// where that rule does not. Never blocks on a FIFO or a device planted
// there: only a regular file counts as a stored value.
std::variant<UniqueFileDescriptor, DefaultsStoreError> openedToRead(
    const std::shared_ptr<const HeldFolder>& folder, const std::string& name) {
    if (!folder->made()) {
        errno = ENOENT;
        return UniqueFileDescriptor(-1);
    }
    if (!folder->checked())
        return UniqueFileDescriptor(::open((folder->reach() / name).c_str(), kReadFlags));
    UniqueFileDescriptor fd(::open((folder->reach() / name).c_str(), kReadFlags | O_NOFOLLOW));
    if (fd.valid() || errno != ELOOP)
        return fd;
    auto followed = HeldFolder::followed(folder, name);
    if (auto* refused = std::get_if<DefaultsStoreError>(&followed))
        return std::move(*refused);
    const auto& entry = std::get<HeldFolder::Entry>(followed);
    if (!entry.folder->made()) {
        errno = ENOENT;
        return UniqueFileDescriptor(-1);
    }
    return UniqueFileDescriptor(::open(entry.reach().c_str(), kReadFlags | O_NOFOLLOW));
}

bool isTemporarySuffix(std::string_view suffix) {
    if (suffix.size() != kTemporarySuffixLength)
        return false;
    for (const char c : suffix) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            return false;
    }
    return true;
}

// Temporary files are ".<file name>.XXXXXX". In the settings folder every
// key's are ours; next to a link's target only those of that one file are.
bool isOurTemporaryFile(std::string_view name, const std::optional<std::string>& onlyFor) {
    if (name.size() < 2 + kTemporarySuffixLength + 1 || name.front() != '.')
        return false;
    const std::size_t dot = name.size() - kTemporarySuffixLength - 1;
    if (name[dot] != '.' || !isTemporarySuffix(name.substr(dot + 1)))
        return false;
    const std::string_view fileName = name.substr(1, dot - 1);
    if (onlyFor)
        return fileName == *onlyFor;
    if (!fileName.ends_with(kFileExtension))
        return false;
    return isValidDefaultsKey(fileName.substr(0, fileName.size() - kFileExtension.size()));
}

// A temporary file is stale once it is old and no writer holds its lock
// (every write holds one on its temporary file until the file is complete).
void removeIfStale(const fs::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    const auto age = std::chrono::system_clock::now() -
                     std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    if (age < FileDefaultsStore::kStaleTemporaryFileAge)
        return;
    UniqueFileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid() || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    ::unlink(file.c_str());
}

void removeStaleTemporaryFiles(const fs::path& directory,
                               const std::optional<std::string>& onlyFor) {
    std::error_code error;
    fs::directory_iterator entries(directory, error);
    if (error)
        return;
    for (const auto& entry : entries) {
        if (isOurTemporaryFile(entry.path().filename().native(), onlyFor))
            removeIfStale(entry.path());
    }
}

// The key's file as it is before a write replaces it.
struct ExistingFile {
    // Its permissions, which the replacement keeps (a shared dotfile may be
    // 0644); none when there is no file yet.
    std::optional<mode_t> permissions;
    // What it holds and which file it is, for its stamp; none when there is
    // no file or it could not be read whole.
    struct Contents {
        std::string bytes;
        struct stat info {};
        RecordFileIdentity identity;
    };
    std::optional<Contents> contents;
    // Held open until the write is over, so that no new file gets its
    // number: what a write's exchange displaced is told from it by that.
    // Also past a plain rename over it, which its close must never just
    // precede (see installRecord).
    UniqueFileDescriptor held{-1};
    std::optional<HeldFileNumber> number;

    // It already holds exactly `bytes`: writing them again would change
    // nothing, so the save costs one read instead of two syncs.
    bool holds(std::string_view bytes) const { return contents && contents->bytes == bytes; }
};

// The existing file is checked before it is replaced: one that cannot be
// read is the user's to sort out, not ours to overwrite, and so is anything
// that is not a regular file (a FIFO, a device, a socket), which a rename
// would replace. One open serves the check, the comparison, the stamp's
// lookup and the permissions; it never blocks on a FIFO and never follows
// a link that appeared since the target was resolved.
std::variant<ExistingFile, DefaultsStoreError> inspectExisting(
    const fs::path& target, const fs::path& shownTarget,
    const FileDefaultsStore::ReadCall& readCall,
    const FileDefaultsStore::IdentityCall& identityCall) {
    UniqueFileDescriptor fd(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT)
            return ExistingFile{};
        return unreadable(target, std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return unreadable(target, std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return unreadable(target, "not a regular file");
    if (static_cast<std::uintmax_t>(info.st_size) > FileDefaultsStore::kMaxValueSize)
        return unreadable(target, std::strerror(EFBIG));
    ExistingFile existing{info.st_mode & 07777, std::nullopt, std::move(fd),
                          HeldFileNumber{info.st_dev, info.st_ino}};
    const int held = existing.held.get();
    if (auto bytes = readAll(readCall, shownTarget, held, FileDefaultsStore::kMaxValueSize))
        existing.contents = {std::move(*bytes), info, identityCall(held, info)};
    return existing;
}

bool systemWrite(const fs::path&, int fd, std::string_view bytes) {
    return writeAllBytes(fd, bytes);
}

std::string newWriterName() {
    std::random_device random;
    const auto high = static_cast<std::uint64_t>(random());
    const auto low = static_cast<std::uint64_t>(random());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>((high << 32) ^ low));
    return text;
}

}  // namespace

FileDefaultsStore::FileDefaultsStore(std::filesystem::path folder)
    : folder_(std::move(folder)),
      folderRights_(folder_),
      reach_(folder_),
      writerName_(newWriterName()),
      readCall_(systemRead),
      writeCall_(systemWrite),
      identityCall_(RecordFileIdentity::of),
      lock_(
          folder_, [this] { return !ensureFolder(); }, [this] { return reachedFolder(); }) {}

FileDefaultsStore::~FileDefaultsStore() = default;

std::filesystem::path FileDefaultsStore::standardLocation(
    std::optional<std::string_view> xdgConfigHome, std::optional<std::string_view> home) {
    // Relative values are invalid by the XDG rules and would make the
    // settings depend on the working directory.
    if (isAbsolute(xdgConfigHome))
        return std::filesystem::path(*xdgConfigHome) / kFolderName;
    if (isAbsolute(home))
        return std::filesystem::path(*home) / ".config" / kFolderName;
    return {};
}

std::filesystem::path FileDefaultsStore::standardLocation() {
    auto home = environmentValue("HOME");
    std::optional<std::string> fallbackHome;
    if (!isAbsolute(home)) {
        fallbackHome = passwordDatabaseHome();
        home = fallbackHome ? std::optional<std::string_view>(*fallbackHome) : std::nullopt;
    }
    return standardLocation(environmentValue("XDG_CONFIG_HOME"), home);
}

std::string FileDefaultsStore::fileNameForKey(std::string_view key) {
    return std::string(key) + std::string(kFileExtension);
}

std::filesystem::path FileDefaultsStore::pathForKey(std::string_view key) const {
    return folder_ / fileNameForKey(key);
}

DefaultsReadResult FileDefaultsStore::read(std::string_view key) const {
    auto decision = folderRights_.current();
    // A folder root is to make itself (in /tmp) was not there when looked at.
    if (!decision->toMake().empty())
        return {};
    const FolderOwnerRights rights(decision);
    auto refusal = reachedWith(rights, decision);
    auto result = refusal ? DefaultsReadResult{std::nullopt, std::move(refusal)} : readAsOwner(key);
    if (!result.error)
        return result;
    result.error = told(rights, std::move(*result.error));
    // Nothing was being saved: what could not be read is told.
    result.error->whileReading = true;
    return result;
}

DefaultsReadResult FileDefaultsStore::readAsOwner(std::string_view key) const {
    putBackBeforeReading(key);
    for (int tries = 1;; ++tries) {
        bool replaced = false;
        auto result = readOnce(key, replaced);
        if (!replaced || tries == kReadsOfAReplacedFile)
            return result;
    }
}

DefaultsReadResult FileDefaultsStore::readOnce(std::string_view key, bool& replaced) const {
    if (folder_.empty() || !isValidDefaultsKey(key))
        return {};
    const auto path = pathForKey(key);
    const auto folder = reach_.current();
    auto opened = openedToRead(folder, fileNameForKey(key));
    if (auto* refused = std::get_if<DefaultsStoreError>(&opened))
        return {std::nullopt, std::move(*refused)};
    const auto& fd = std::get<UniqueFileDescriptor>(opened);
    if (!fd.valid()) {
        // Nothing there, or a settings folder that is not a folder: nothing
        // is stored. Anything else hides a record we cannot see.
        if (errno == ENOENT || errno == ENOTDIR)
            return {std::nullopt, std::nullopt, earliestOnLine(latestRemovalTime(path))};
        return {std::nullopt, unreadable(path, std::strerror(errno))};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return {std::nullopt, unreadable(path, std::strerror(errno))};
    if (!S_ISREG(info.st_mode))
        return {std::nullopt, unreadable(path, "not a regular file")};
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxValueSize)
        return {std::nullopt, unreadable(path, std::strerror(EFBIG))};
    auto data = readAll(readCall_, path, fd.get(), kMaxValueSize);
    if (!data)
        return {std::nullopt, unreadable(path, std::strerror(errno))};
    // A file changed under a clock that ran ahead was still written before
    // this read.
    const auto now = requestNow();
    DefaultsReadResult result{std::move(data), std::nullopt,
                              std::min(onRequestLine(latestChangeTime(info)), now)};
    if (!readsDated_)
        return result;
    // A stamp made for this very file tells who wrote it and when; without
    // one the record is dated, whole, by when its file last changed: a
    // request of every part then, as one put back or saved by an editor is,
    // and as a write is whose stamp could not be written.
    const RecordWriteStampFile stamps(folder->reach(), fileNameForKey(key));
    const auto identity = identityCall_(fd.get(), info);
    const auto found =
        stamps.lookUp(identity, *result.data, now, requestClock_.get(), &stampDecoder_);
    const auto& stamp = found.stamp;
    if (!stamp) {
        // Replaced since it was opened, it may have taken its stamps with
        // it, and its change time then tells when it went (or, through
        // FUSE, was hidden): the record is read again from the name.
        struct stat named {};
        if (::lstat((folder->reach() / fileNameForKey(key)).c_str(), &named) == 0 &&
            (named.st_dev != info.st_dev || named.st_ino != info.st_ino)) {
            replaced = true;
            return result;
        }
        result.writeID = RecordWriteStamp::unstampedWriteID(identity, info);
        // Stamps this user may not read (root's save through sudo in the
        // user's folder) may hold any requests, earlier ones too: the
        // record is of unknown date, later than no request, so none that
        // waited for that save loses to it. The next save here stamps it
        // anew, readably. So is one that a stamp after a pending one was
        // made for where no file is told from another that got its number:
        // most likely the record a write let in by a lock file taken from
        // under another is about to replace, never a later request.
        if (found.unreadable || found.beforeAPendingWrite) {
            result.writtenAt = std::nullopt;
            return result;
        }
        result.writtenAt = unstampedDate(*result.writeID, *result.data,
                                         onRequestLine(latestChangeTime(info)), now);
        result.requested = TouchedRecordParts::all(*result.writtenAt);
        return result;
    }
    result.writtenAt = stamp->writtenAt;
    result.writeID = stamp->writeID();
    result.writtenHere = stamp->writer == writerName_;
    result.requested = stamp->requested;
    return result;
}

Date FileDefaultsStore::unstampedDate(const std::string& writeID, std::string_view bytes,
                                      Date changed, Date now) const {
    // Rewritten in place within one tick of a coarse clock, another write
    // keeps the file's name and times: its bytes tell it apart.
    const auto seenAs = writeID + ":" + std::to_string(bytes.size()) + ":" +
                        std::to_string(RecordWriteStamp::digestOf(bytes));
    std::lock_guard guard(firstSeenMutex_);
    if (const auto seen = firstSeenAhead_.find(seenAs); seen != firstSeenAhead_.end())
        return std::min(changed, seen->second);
    if (changed <= now)
        return changed;
    if (firstSeenAhead_.size() >= kRememberedFilesAhead)
        firstSeenAhead_.clear();
    return firstSeenAhead_.try_emplace(seenAs, now).first->second;
}

std::shared_ptr<const FolderRightsDecision> FileDefaultsStore::decidedToChange(
    FolderRightsCache::Look look) const {
    auto decision = folderRights_.current(look);
    if (decision->toMake().empty())
        return decision;
    // Root's own, one level at a time: a name someone else made first is
    // not gone through, and the way is decided again as it now stands.
    for (const auto& level : decision->toMake()) {
        if (::mkdir(level.c_str(), 0700) != 0)
            break;
    }
    return folderRights_.current();
}

std::optional<DefaultsStoreError> FileDefaultsStore::ensureFolder() const {
    const auto decision = decidedToChange();
    const FolderOwnerRights rights(decision);
    if (auto refusal = reachedWith(rights, decision))
        return told(rights, std::move(*refusal));
    auto error = makeFolder();
    if (error)
        error = told(rights, std::move(*error));
    return error;
}

std::optional<DefaultsStoreError> FileDefaultsStore::makeFolder() const {
    return reach_.makeWhole();
}

std::optional<DefaultsStoreError> FileDefaultsStore::reachedWith(
    const FolderOwnerRights& rights,
    const std::shared_ptr<const FolderRightsDecision>& decision) const {
    if (rights.refusal())
        return rights.refusal();
    auto held = reach_.heldFor(decision);
    auto* refused = std::get_if<DefaultsStoreError>(&held);
    if (!refused)
        return std::nullopt;
    // The way is decided again as it then stands, whatever still looks
    // as it did.
    if (refused->kind == DefaultsStoreError::Kind::wayChangedSinceDecided)
        folderRights_.forget();
    return std::move(*refused);
}

std::shared_ptr<const fs::path> FileDefaultsStore::reachedFolder() const {
    auto folder = reach_.current();
    if (!folder || !folder->made())
        return nullptr;
    return std::shared_ptr<const fs::path>(folder, &folder->reach());
}

DefaultsStoreError FileDefaultsStore::told(const FolderOwnerRights& rights,
                                           DefaultsStoreError error) const {
    if (const auto folder = reach_.current())
        error = folder->shown(std::move(error));
    return rights.told(std::move(error));
}

std::optional<DefaultsStoreError> FileDefaultsStore::writableFolder(std::string_view key) const {
    if (!isValidDefaultsKey(key))
        return DefaultsStoreError{DefaultsStoreError::Kind::writeFailed, std::string(key), {}};
    return makeFolder();
}

void FileDefaultsStore::limitLockWait(Duration limit, std::shared_ptr<const Clock> clock,
                                      std::shared_ptr<Sleeper> sleeper) {
    lock_.limitWait(limit, std::move(clock), std::move(sleeper));
}

DefaultsLock FileDefaultsStore::lockExclusively() {
    return takenAsOwner(&DefaultsLockFile::lockExclusively);
}

DefaultsLock FileDefaultsStore::tryLockExclusively() {
    return takenAsOwner(&DefaultsLockFile::tryLockExclusively);
}

DefaultsLock FileDefaultsStore::takenAsOwner(DefaultsLock (DefaultsLockFile::*take)()) {
    // Only the lock waited for makes the folder; a try finds nothing to
    // lock in a folder root is still to make.
    const bool makes = take == &DefaultsLockFile::lockExclusively;
    const auto decision = makes ? decidedToChange() : folderRights_.current();
    if (!makes && !decision->toMake().empty())
        return {};
    const FolderOwnerRights rights(decision);
    if (auto refusal = reachedWith(rights, decision))
        return DefaultsLock::notTaken(told(rights, std::move(*refusal)));
    auto lock = (lock_.*take)();
    if (lock.failure())
        return DefaultsLock::notTaken(told(rights, *lock.failure()));
    return lock;
}

Date FileDefaultsStore::requestNow() const {
    if (requestClock_)
        return requestClock_->now();
    return wallNow();
}

Date FileDefaultsStore::wallNow() const {
    return wallClock_ ? wallClock_->wallNow() : std::chrono::system_clock::now();
}

std::optional<Date> FileDefaultsStore::earliestOnLine(std::optional<Date> wallTime) const {
    return wallTime ? std::optional(std::min(onRequestLine(*wallTime), requestNow()))
                    : std::nullopt;
}

Date FileDefaultsStore::onRequestLine(Date wallTime) const {
    return requestClock_ ? requestClock_->fromWall(wallTime) : wallTime;
}

SaveOutcome FileDefaultsStore::setData(std::string_view key, std::string_view bytes) {
    return setDataTouching(key, bytes, {});
}

RecordWriteStamp FileDefaultsStore::newStamp(const std::optional<RecordWriteStamp>& previous,
                                             const TouchedRecordParts& touched,
                                             const RecordFileIdentity& file,
                                             std::string_view bytes) {
    auto stamp = RecordWriteStamp::made(writerName_, ++writeCount_, requestNow(), file, bytes,
                                        previous, touched);
    if (requestClock_)
        stamp.timeline = requestClock_->timeline();
    return stamp;
}

SaveOutcome FileDefaultsStore::setDataTouching(std::string_view key, std::string_view bytes,
                                               const TouchedRecordParts& touched) {
    const auto decision = decidedToChange(FolderRightsCache::Look::thorough);
    const FolderOwnerRights rights(decision);
    if (auto refusal = reachedWith(rights, decision))
        return SaveOutcome::failed(told(rights, std::move(*refusal)));
    auto outcome = saveAsOwner(key, bytes, touched);
    if (outcome.error)
        outcome.error = told(rights, std::move(*outcome.error));
    return outcome;
}

SaveOutcome FileDefaultsStore::saveAsOwner(std::string_view key, std::string_view bytes,
                                           const TouchedRecordParts& touched) {
    const auto lock = lockExclusively();
    if (lock.failure())
        return SaveOutcome::failed(*lock.failure());
    // Bytes made under the caller's own hold came from what it read then:
    // only the caller can make them again.
    const bool madeUnderCallersLock = lock_.heldAround();
    for (int taking = 1;; ++taking) {
        auto outcome = writeLocked(key, bytes, touched);
        if (!outcome.error || outcome.error->kind != DefaultsStoreError::Kind::lockFileReplaced ||
            madeUnderCallersLock || taking == DefaultsLock::kTakingsPerSave)
            return outcome;
    }
}

std::optional<DefaultsStoreError> FileDefaultsStore::lockNoLongerHeld() {
    switch (lock_.confirmHeld()) {
        case DefaultsLockFile::Hold::kept:
            return std::nullopt;
        case DefaultsLockFile::Hold::retaken:
            return DefaultsStoreError{
                DefaultsStoreError::Kind::lockFileReplaced, (folder_ / kLockFileName).string(), {}};
        case DefaultsLockFile::Hold::lost:
            return lock_.lossReason();
    }
    return std::nullopt;
}

SaveOutcome FileDefaultsStore::writeLocked(std::string_view key, std::string_view bytes,
                                           const TouchedRecordParts& touched) {
    if (auto error = writableFolder(key))
        return SaveOutcome::failed(std::move(*error));
    const auto folder = reach_.current();
    // Where a link at the record's name leads, the write lands there.
    auto followed = HeldFolder::followed(folder, fileNameForKey(key));
    if (auto* error = std::get_if<DefaultsStoreError>(&followed))
        return SaveOutcome::failed(std::move(*error));
    const auto& entry = std::get<HeldFolder::Entry>(followed);
    if (!entry.folder->made())
        return SaveOutcome::failed(
            DefaultsStoreError::fromErrno(ENOENT, entry.folder->shown().string()));
    auto outcome = writeTo(*folder, entry, key, bytes, touched);
    if (outcome.error)
        outcome.error = folder->shown(entry.folder->shown(std::move(*outcome.error)));
    return outcome;
}

SaveOutcome FileDefaultsStore::writeTo(const HeldFolder& folder, const HeldFolder::Entry& entry,
                                       std::string_view key, std::string_view bytes,
                                       const TouchedRecordParts& touched) {
    const auto& here = folder.reach();
    const auto target = entry.reach();
    const auto& there = *entry.folder;
    // A record another write displaced, left by that write's writer killed
    // before it put it back, goes back first.
    if (auto error = putBackDisplaced(RecordWriteStampFile(here, fileNameForKey(key)), target))
        return SaveOutcome::failed(std::move(*error));
    auto inspected = inspectExisting(target, entry.shown(), readCall_, identityCall_);
    if (auto* error = std::get_if<DefaultsStoreError>(&inspected))
        return SaveOutcome::failed(std::move(*error));
    auto existing = std::get<ExistingFile>(std::move(inspected));
    const RecordWriteStampFile stamps(here, fileNameForKey(key));
    // The requests behind the record as it stands stay named with it.
    const auto previous =
        existing.contents ? stamps.describing(existing.contents->identity, existing.contents->bytes,
                                              requestNow(), requestClock_.get(), &stampDecoder_)
                          : std::nullopt;
    const auto directory = target.parent_path();
    const std::string fileName = target.filename().string();
    // A write killed on its way leaves its temporary files (the record's,
    // the stamp's, the stamps it displaced): the next save of any kind
    // removes them.
    removeStaleTemporaryFiles(here, std::nullopt);
    if (directory != here)
        removeStaleTemporaryFiles(directory, fileName);
    // Bytes the file holds already are not written again: the stamp alone
    // tells of the save's requests, and every process watching the folder
    // hears of them through it.
    if (existing.holds(bytes)) {
        if (auto outcome = stampedInPlace(stamps, existing.contents->identity,
                                          existing.contents->info, previous, bytes, touched))
            return std::move(*outcome);
    }

    // A lock file taken from under this write already stops it before it
    // makes a file only to remove it (through FUSE, a file removed a moment
    // after its close may stay under a ".fuse_hidden" name).
    if (auto error = lockNoLongerHeld())
        return SaveOutcome::failed(std::move(*error));
    // A hidden name that never ends in ".json", so a file left by a crash is
    // never taken for a stored value.
    std::string temporaryPath = (directory / ("." + fileName + ".XXXXXX")).string();
    // mkostemp opens with O_CREAT | O_EXCL and mode 0600 under a unique name.
    UniqueFileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return failedWithErrno(directory);
    TemporaryFileGuard guard(temporaryPath);
    // Held until the file is complete, so no other write takes it for stale.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    if (existing.permissions)
        ::fchmod(fd.get(), *existing.permissions);
    struct stat written {};
    if (!writeCall_(there.shown(temporaryPath), fd.get(), bytes) || ::fsync(fd.get()) != 0 ||
        ::fstat(fd.get(), &written) != 0)
        return failedWithErrno(temporaryPath);
    const auto identity = identityCall_(fd.get(), written);
    // Held open until the write is over, so that no other file gets its
    // number: a later look at the name tells it by that.
    UniqueFileDescriptor ownFile(::dup(fd.get()));
    if (!fd.close())
        return failedWithErrno(temporaryPath);
    // The stamp goes first, made for the file about to be renamed: whoever
    // sees the new record (a reader takes no lock) finds it stamped. A
    // record without its stamp would be read as a request of every part at
    // its file's time, losing the order its requests asked for: a stamp
    // that cannot be written (a full disk, a mount point at its name) stops
    // the record too, and one written is put back unless the record lands.
    // It stays pending until the record landed, however late (a stalled
    // disk) and even when this process is killed before it says so.
    auto stamp = newStamp(previous, touched, identity, bytes);
    stamp.pending = true;
    auto replaced = stamps.replaceWith(stamp, previous, true);
    if (auto* error = std::get_if<DefaultsStoreError>(&replaced))
        return SaveOutcome::failed(std::move(*error));
    if (beforeRename_ && !beforeRename_(there.shown(temporaryPath)))
        return SaveOutcome::failed({DefaultsStoreError::Kind::writeFailed, target.string(), {}});
    // As late as can be: a slow disk holds the write longest in its syncs.
    // Stamps another writer put in place meanwhile stay where they are.
    if (auto error = lockNoLongerHeld())
        return SaveOutcome::failed(std::move(*error));
    if (beforeInstall_ && !beforeInstall_(there.shown(temporaryPath)))
        return SaveOutcome::failed({DefaultsStoreError::Kind::writeFailed, target.string(), {}});
    // Installed from a name that tells which record this write puts in
    // place and which it read: should it be killed before it ends, the
    // next save tells from it what the exchange left there.
    const auto installFrom = displacingName(temporaryPath, written, existing.number);
    TemporaryFileGuard installGuard(installFrom != temporaryPath ? installFrom : std::string());
    if (installFrom != temporaryPath)
        guard.release();
    // Exchanged, not renamed over: a record another writer saved after the
    // check above (its lock file taken from under this one) is still at
    // hand, under that name, instead of gone.
    auto installed = installRecord(installFrom, target, existing.number);
    if (const auto* error = std::get_if<int>(&installed))
        return SaveOutcome::failed(DefaultsStoreError::fromErrno(*error, target.string()));
    auto& placedStamps = std::get<RecordWriteStampFile::Replacement>(replaced);
    const auto how = std::get<RecordInstall>(installed);
    if (how.displaced == RecordInstall::Displaced::anotherFile) {
        if (!how.exchanged)
            return SaveOutcome::failed(toBeMadeAgain(lock_.confirmHeld()));
        if (afterDisplacing_)
            afterDisplacing_(there.shown(installFrom));
        return SaveOutcome::failed(givenBack(stamps, installFrom, target, written));
    }
    // What was displaced, the record as read, goes with the guard.
    if (!how.exchanged) {
        guard.release();
        installGuard.release();
    }
    // Another writer that took the lock from under this one put its stamps
    // there since, and is landing its record over this one: its stamps stay.
    // Where no names exchange, this record was renamed over whatever stood
    // there: while it still stands, its stamps go back, or it would read as
    // a file no stamp describes, a request of every part.
    const bool stampsStand = placedStamps.stillPlaced();
    const bool renamedInPlace = !how.exchanged && stillAt(target, written);
    placedStamps.keep();
    // Renamed in place, the record may be renamed over by another writer
    // at any time: closed first, FUSE keeps no hidden copy of it.
    if (!how.exchanged)
        ownFile.close();
    if (stampsStand || renamedInPlace)
        stamps.confirm(stamp, previous);
    // The new value is in place now; a failed folder sync means it may not
    // survive a power loss, which the caller learns from the outcome.
    if (!syncDirectory(directory) || (directory != here && !syncDirectory(here)))
        return failedWithErrno(directory);
    SaveOutcome outcome;
    outcome.writeID = stamp.writeID();
    return outcome;
}

void FileDefaultsStore::putBackBeforeReading(std::string_view key) const {
    const auto folder = reach_.current();
    if (folder_.empty() || !isValidDefaultsKey(key) || !folder->made())
        return;
    const auto followed = HeldFolder::followed(folder, fileNameForKey(key));
    const auto* entry = std::get_if<HeldFolder::Entry>(&followed);
    if (entry == nullptr || !entry->folder->made())
        return;
    const auto target = entry->reach();
    if (displacedBeside(target).empty())
        return;
    // Never waited for: whoever holds the lock is saving, and puts it back
    // itself (a reload that follows is told of that). A try that found no
    // lock file holds none: the file is taken then.
    const auto tried = lock_.tryLockExclusively();
    if (tried.failure())
        return;
    const auto lock = lock_.lockExclusively();
    if (lock.failure())
        return;
    putBackDisplaced(RecordWriteStampFile(folder->reach(), fileNameForKey(key)), target);
}

std::vector<FileDefaultsStore::DisplacedRecord> FileDefaultsStore::displacedBeside(
    const fs::path& target) {
    const auto prefix = std::string(".").append(target.filename().string()).append(".");
    std::vector<DisplacedRecord> displaced;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), error)) {
        const auto name = entry.path().filename().string();
        const auto mark = name.find(kDisplacedMark);
        if (name.starts_with(prefix) && mark != std::string::npos)
            displaced.push_back({entry.path(), name.substr(mark + kDisplacedMark.size())});
    }
    return displaced;
}

bool FileDefaultsStore::stillAt(const fs::path& target, const struct stat& ours) {
    struct stat named {};
    return ::lstat(target.c_str(), &named) == 0 && named.st_dev == ours.st_dev &&
           named.st_ino == ours.st_ino;
}

std::string FileDefaultsStore::displacingName(const std::string& temporaryPath,
                                              const struct stat& ours,
                                              std::optional<HeldFileNumber> read) {
    auto name = temporaryPath + std::string(kDisplacedMark) + std::to_string(ours.st_ino) + "-" +
                std::to_string(read ? read->inode : 0);
    if (::rename(temporaryPath.c_str(), name.c_str()) != 0)
        return temporaryPath;
    return name;
}

std::optional<DefaultsStoreError> FileDefaultsStore::putBackDisplaced(
    const RecordWriteStampFile& stamps, const fs::path& target) const {
    bool putBack = false;
    for (const auto& [path, numbers] : displacedBeside(target)) {
        const auto dash = numbers.find('-');
        UniqueFileDescriptor kept(
            ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        // A write still under way holds the record it is installing.
        if (dash == std::string::npos || !kept.valid() ||
            ::flock(kept.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(kept.get(), &info) != 0)
            continue;
        const auto number = std::to_string(info.st_ino);
        const auto installed = numbers.substr(0, dash);
        // Neither the record a killed write never installed nor the one it
        // read and replaced: another writer's, displaced. It goes back only
        // over the record that displaced it, as that write left it; one
        // saved over that since was laid on it, and one edited in place
        // since (written after the exchange, which changed the displaced
        // record last) is the user's: what was displaced is lost with it.
        struct stat named {};
        if (number != installed && number != numbers.substr(dash + 1) &&
            ::lstat(target.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
            std::to_string(named.st_ino) == installed &&
            nanosecondsSinceEpoch(named.st_mtim) <= nanosecondsSinceEpoch(info.st_ctim))
            putBack = putBackFrom(stamps, path.string(), target, named) || putBack;
        ::unlink(path.c_str());
    }
    if (!putBack)
        return std::nullopt;
    // The caller's bytes were made from the record that displaced it.
    return toBeMadeAgain(DefaultsLockFile::Hold::kept);
}

DefaultsStoreError FileDefaultsStore::givenBack(const RecordWriteStampFile& stamps,
                                                const std::string& temporaryPath,
                                                const fs::path& target, const struct stat& ours) {
    // Its writer may hold the lock still: it is taken again first.
    const auto hold = lock_.confirmHeld();
    // This write's record is still the one at the name: theirs goes back.
    // Where a third writer replaced it since, that writer laid its change
    // on this one's record, and theirs is lost with it. (Where the next
    // save put it back meanwhile, nothing stands under the name any more.)
    putBackFrom(stamps, temporaryPath, target, ours);
    return toBeMadeAgain(hold);
}

bool FileDefaultsStore::putBackFrom(const RecordWriteStampFile& stamps,
                                    const std::string& temporaryPath, const fs::path& target,
                                    const struct stat& ours) const {
    // Moved away and back, the record's change time moves on, and its
    // stamps would describe it no more: they are put in place again once
    // it is back. (Where it landed over this write's record instead, its
    // stamps displaced this one's, which go back at the name as this
    // write ends unkept.)
    std::optional<std::string> theirStamps;
    UniqueFileDescriptor theirs(
        ::open(temporaryPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (theirs.valid() && ::fstat(theirs.get(), &info) == 0) {
        auto identity = identityCall_(theirs.get(), info);
        identity.changedAt.reset();
        if (const auto bytes = readAll(readCall_, temporaryPath, theirs.get(), kMaxValueSize))
            theirStamps = stamps.linesDescribing(identity, *bytes);
    }
    struct stat named {};
    if (!theirs.valid() || ::lstat(target.c_str(), &named) != 0 || named.st_dev != ours.st_dev ||
        named.st_ino != ours.st_ino || !exchangeNames(temporaryPath, target))
        return false;
    if (theirStamps)
        stamps.putBack(*theirStamps);
    return true;
}

DefaultsStoreError FileDefaultsStore::toBeMadeAgain(DefaultsLockFile::Hold hold) const {
    if (hold == DefaultsLockFile::Hold::lost)
        return lock_.lossReason();
    // The caller makes its write again, from the record at the name.
    return {DefaultsStoreError::Kind::lockFileReplaced, (folder_ / kLockFileName).string(), {}};
}

std::optional<SaveOutcome> FileDefaultsStore::stampedInPlace(
    const RecordWriteStampFile& stamps, const RecordFileIdentity& file, const struct stat& info,
    const std::optional<RecordWriteStamp>& previous, std::string_view bytes,
    const TouchedRecordParts& touched) {
    // The file holds the bytes already: a stamped one is that write, unless
    // requests come with the save; one without a stamp is this write's now,
    // with no second copy of the bytes.
    SaveOutcome outcome;
    if (previous && touched.empty()) {
        outcome.writeID = previous->writeID();
        return outcome;
    }
    // The file stays as it is, so no reader needs the stamp before this
    // one: the new one alone describes the file, and carries the requests
    // of the one it replaces.
    if (auto error = lockNoLongerHeld())
        return SaveOutcome::failed(std::move(*error));
    const auto stamp = newStamp(previous, touched, file, bytes);
    if (!stamps.write(stamp, std::nullopt, file, bytes, &stampDecoder_)) {
        outcome.writeID = stamp.writeID();
        return outcome;
    }
    // Requests no stamp could carry are dated by the file: it is written
    // again, and its change time tells when.
    if (!touched.empty())
        return std::nullopt;
    outcome.writeID = RecordWriteStamp::unstampedWriteID(file, info);
    return outcome;
}

SaveOutcome FileDefaultsStore::keepCopyAside(std::string_view key, std::string_view bytes) {
    const auto decision = decidedToChange(FolderRightsCache::Look::thorough);
    const FolderOwnerRights rights(decision);
    if (auto refusal = reachedWith(rights, decision))
        return SaveOutcome::failed(told(rights, std::move(*refusal)));
    const auto lock = lockExclusively();
    if (lock.failure())
        return SaveOutcome::failed(told(rights, *lock.failure()));
    if (auto error = writableFolder(key))
        return SaveOutcome::failed(told(rights, std::move(*error)));
    const auto folder = reach_.current();
    const auto write = [&](const fs::path& file, int fd, std::string_view copied) {
        return writeCall_(folder->shown(file), fd, copied);
    };
    auto outcome =
        KeptRecordCopies(folder->reach(), fileNameForKey(key)).keep(bytes, write, wallNow());
    if (outcome.error)
        outcome.error = told(rights, std::move(*outcome.error));
    return outcome;
}

bool FileDefaultsStore::removeKey(std::string_view key) {
    if (folder_.empty() || !isValidDefaultsKey(key))
        return false;
    const auto decision = decidedToChange(FolderRightsCache::Look::thorough);
    const FolderOwnerRights rights(decision);
    if (reachedWith(rights, decision))
        return false;
    const auto lock = lockExclusively();
    if (lock.failure())
        return false;
    const auto folder = reach_.current();
    if (!folder->made())
        return true;
    if (::unlink((folder->reach() / fileNameForKey(key)).c_str()) != 0)
        return errno == ENOENT;
    RecordWriteStampFile(folder->reach(), fileNameForKey(key)).remove();
    return syncDirectory(folder->reach());
}

}  // namespace quorvane
