#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

#include "platform/interfaces/defaults_storing.hpp"
#include "platform/interfaces/request_clock.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "services/persistence/defaults_lock_file.hpp"
#include "services/persistence/kept_record_copies.hpp"
#include "services/persistence/record_install.hpp"
#include "services/persistence/record_write_stamp.hpp"
#include "services/persistence/record_write_stamp_file.hpp"
#include "services/persistence/rights/folder_reach.hpp"
#include "services/persistence/rights/folder_rights_cache.hpp"

namespace quorvane {

class FolderOwnerRights;

// The user's defaults as one file per key, "<key>.json", in one folder
// (normally $XDG_CONFIG_HOME/quorvane). Every write goes to a new temporary
// file next to the key's file which is synced and then renamed over it, so a
// reader or a crash sees either the old bytes or the new ones, never a mix.
// A key's file that is a symbolic link stays one: the write lands next to the
// link's target and replaces the target.
//
// Every file of the folder is read, written, exchanged, made and locked
// with the rights the folder's rule gives (FolderRightsDecision states it),
// on whichever thread calls: a save those rights do not reach fails
// (beyondOwnersRights), and a folder the rule refuses is not touched.
//
// Processes share the folder's lock file (".lock", an flock; DefaultsLockFile):
// every write takes it, and a caller that reads, changes and writes a record holds it
// across all three (lockExclusively()). A write confirms, just before its
// record lands, that the lock file is still the one it locked: where it was
// removed or replaced meanwhile, the write takes the lock again and writes
// its bytes anew, or, for a caller holding the lock around it (whose bytes
// were made from what it read before), fails with lockFileReplaced so that
// the caller makes them again from the record as it is now. The record is
// put in place by exchanging it with the file at the name, not by a rename
// over it: where the lock file was taken after that last check and another
// writer landed meanwhile, that writer's record is put back, with its
// stamps, and the write fails the same way, so it is made again from that
// record. The exchange is made from a name that tells which file was
// installed and which was read (kDisplacedMark): a write killed before it
// puts another's record back leaves it there, and the next save, or the
// next read that can take the lock at once, puts it back while the killed
// write's record is still at the name as it left it (a save then makes its
// own write from it). A file system that exchanges no names gets
// a plain rename, made only where a look just before it finds the record
// read still at the name, and failing the same way where it does not; a
// writer landing in the instant between that look and the rename loses
// its record. A read that finds no stamp for a file replaced since it
// opened it reads the record at the name again.
//
// Every write leaves a stamp beside the record (RecordWriteStamp): this
// store's own name, its count of writes, the moment of the write on its
// clock and the parts the write's requests set with when they were asked
// for. A read of a file with its stamp is dated and named by it; a file
// without one (an older version's, an editor's, a copy put back) is named
// by the file itself and dated, as a request of every part, by when its
// inode last changed, which no copy can set back. A file whose stamps
// stand there but cannot be read (another user's: root's, run through sudo
// in the user's folder) is of unknown date: no request of this user's is
// taken to be earlier than it. No time read is later
// than now. A record and its stamp are replaced together or not at all: a
// stamp that cannot be written (a full disk, a mount point at its name)
// fails the save with the record as it was. A save of the bytes the file
// holds already writes only a new stamp for that file (no rewrite, no
// sync), which names the save's requests. By default the store
// waits for the lock as long as another process holds it; with a wait limit it tries again every
// kLockRetryInterval until the limit passes, and a lock it could not take fails the write that
// needed it (a stopped or hung process must not keep a command waiting for ever).
class FileDefaultsStore final : public DefaultsStoring {
  public:
    // Anything larger reads as unreadable rather than filling memory.
    static constexpr std::size_t kMaxValueSize = 16 * 1024 * 1024;
    // A temporary file this old whose writer no longer holds it was left by a
    // write that never finished; the next write removes it.
    static constexpr std::chrono::seconds kStaleTemporaryFileAge{60};
    static constexpr std::string_view kLockFileName = DefaultsLockFile::kFileName;
    static constexpr Duration kLockRetryInterval = DefaultsLockFile::kRetryInterval;
    // The wait limit every Quorvane process sets: long enough for every save
    // another one makes (a write and its fsync under load), short enough that
    // a stopped or hung process holding the lock never keeps a command, or
    // the application's quit, waiting.
    static constexpr Duration kSharedLockWait = std::chrono::seconds(5);
    // Copies kept aside per record: older ones are removed as newer ones
    // come, so broken records coming back can never fill the disk.
    static constexpr std::size_t kKeptCopiesPerRecord = KeptRecordCopies::kPerRecord;
    // Marks the name a write installs its record from: ".<record>.<temporary>"
    // + this + "<its file's number>-<the number of the record it read>".
    // What its exchange displaces waits there until the write ends, and
    // after its kill until the next save. Never ".json", never stale.
    static constexpr std::string_view kDisplacedMark = ".displaced-";

    // Called with the synced temporary file just before it replaces the key's
    // file; returning false fails the write there. Lets tests stop a write at
    // its most delicate point.
    using BeforeRenameHook = std::function<bool(const std::filesystem::path& temporaryFile)>;
    // Reads from a key's open file as ::read does: the count, 0 at its end,
    // -1 with errno set. ::read unless a test puts a failing disk in its
    // place for one file.
    using ReadCall = std::function<ssize_t(const std::filesystem::path& file, int fd, void* buffer,
                                           std::size_t size)>;

    // Writes all of `bytes` to a new file's open descriptor as writeAllBytes
    // does: false with errno set. writeAllBytes unless a test puts a full
    // disk in its place (for a key's file and for the copies kept aside).
    using WriteCall = KeptRecordCopies::WriteCall;

    // What names a record's open file for its stamp: RecordFileIdentity::of
    // unless a test hands back another file's number.
    using IdentityCall = std::function<RecordFileIdentity(int fd, const struct stat& info)>;

    // An empty folder (no home known) reads nothing and refuses writes.
    explicit FileDefaultsStore(std::filesystem::path folder);
    ~FileDefaultsStore() override;
    FileDefaultsStore(const FileDefaultsStore&) = delete;
    FileDefaultsStore& operator=(const FileDefaultsStore&) = delete;

    // $XDG_CONFIG_HOME/quorvane when that is an absolute path, else
    // $HOME/.config/quorvane, else the account's home from the password
    // database; empty when none is known.
    static std::filesystem::path standardLocation();
    static std::filesystem::path standardLocation(std::optional<std::string_view> xdgConfigHome,
                                                  std::optional<std::string_view> home);

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path pathForKey(std::string_view key) const;
    // "<key>.json"
    static std::string fileNameForKey(std::string_view key);
    // Creates the folder (each missing level private to the user) unless it
    // is there; a write does this itself.
    std::optional<DefaultsStoreError> ensureFolder() const;

    DefaultsReadResult read(std::string_view key) const override;
    SaveOutcome setData(std::string_view key, std::string_view bytes) override;
    // Stamps the write with `touched` as the parts its requests set.
    SaveOutcome setDataTouching(std::string_view key, std::string_view bytes,
                                const TouchedRecordParts& touched) override;
    // "<key>.json.unreadable-<UTC date and time>" in the folder, never
    // replacing an earlier copy. Bytes one of the key's copies already holds
    // are not copied again (the outcome names that copy), and only the
    // newest kKeptCopiesPerRecord copies of the key stay.
    SaveOutcome keepCopyAside(std::string_view key, std::string_view bytes) override;
    bool removeKey(std::string_view key) override;
    // The lock must not outlive the store. Without a usable folder there is
    // nothing to lock and the returned lock holds nothing.
    DefaultsLock lockExclusively() override;
    // Also fails while another thread of this process holds the lock.
    DefaultsLock tryLockExclusively() override;
    std::string lockFilePath() const override {
        return folder_.empty() ? std::string() : (folder_ / kLockFileName).string();
    }

    // Waits at most `limit` for the lock from now on, measured on `clock`,
    // pausing on `sleeper` between tries. Set before the store is shared
    // with another thread.
    void limitLockWait(Duration limit, std::shared_ptr<const Clock> clock,
                       std::shared_ptr<Sleeper> sleeper);

    // The clock a write's stamp and a copy kept aside are dated by (the
    // system's unless set). Set before the store is shared with another
    // thread.
    void setWallClock(std::shared_ptr<const Clock> clock) { wallClock_ = std::move(clock); }
    // Dates writes, requests and what is read on `clock`'s line, which no
    // clock setting moves, instead of the wall clock; stamps then carry the
    // line, so another process's times move onto its own. Every process
    // sharing the folder sets one (the wall clock then dates only files no
    // stamp describes and stamps of an older version or an earlier boot).
    // Set before the store is shared with another thread.
    void setRequestClock(std::shared_ptr<const RequestClock> clock) {
        requestClock_ = std::move(clock);
    }

    void setBeforeRenameHook(BeforeRenameHook hook) { beforeRename_ = std::move(hook); }
    // Called the same way once the write has confirmed its lock for the
    // last time, just before its record is put in place: lets tests stop a
    // write where its lock can no longer keep another writer out.
    void setBeforeInstallHook(BeforeRenameHook hook) { beforeInstall_ = std::move(hook); }
    // Called with the name another writer's record is kept under once this
    // write's exchange displaced it, before it is put back: lets tests end
    // a write there.
    void setAfterDisplacingHook(std::function<void(const std::filesystem::path& kept)> hook) {
        afterDisplacing_ = std::move(hook);
    }
    // Set before the store is shared with another thread.
    void setReadCall(ReadCall call) { readCall_ = std::move(call); }
    // Set before the store is shared with another thread.
    void setWriteCall(WriteCall call) { writeCall_ = std::move(call); }
    // Set before the store is shared with another thread.
    void setIdentityCall(IdentityCall call) { identityCall_ = std::move(call); }
    // How a look at the lock file tells its number (the file system's
    // unless a test plays one that does not keep them). Set before the
    // store is shared with another thread.
    void setLockFileNumberCall(DefaultsLockFile::FileNumberCall call) {
        lock_.setFileNumberCall(std::move(call));
    }
    // How the lock tells whether a process holds a lock file it may not
    // open (the kernel's table, unless a test plays one). Set before the
    // store is shared with another thread.
    void setLockTableCall(DefaultsLockFile::LockTableCall call) {
        lock_.setLockTableCall(std::move(call));
    }

    // Whose rights count in the folder is decided from the system's
    // accounts unless a test hands in its own. Set before the store is
    // shared with another thread.
    void setAccountBook(std::shared_ptr<const AccountBook> accounts) {
        folderRights_.setAccountBook(std::move(accounts));
    }

    // Reads give the bytes dated by their file alone, naming no write, and
    // read no stamp: for a caller that holds the lock from its read to its
    // write and weighs no other process's requests. Its writes still carry
    // the requests of the stamp before. Set before the store is shared with
    // another thread.
    void setReadsDated(bool dated) { readsDated_ = dated; }

  private:
    // Whose rights count in the folder, for a call that may change it:
    // folders root is to make itself are made first. A save looks at
    // everything the decision was made from (`look`).
    std::shared_ptr<const FolderRightsDecision> decidedToChange(
        FolderRightsCache::Look look = FolderRightsCache::Look::quick) const;
    // read() and setDataTouching(), with the folder owner's rights (see
    // FolderOwnerRights): a link planted at a record's name or at the
    // folder's leads nowhere that user could not go.
    DefaultsReadResult readAsOwner(std::string_view key) const;
    SaveOutcome saveAsOwner(std::string_view key, std::string_view bytes,
                            const TouchedRecordParts& touched);
    // ensureFolder() with those rights in force.
    std::optional<DefaultsStoreError> makeFolder() const;
    // Why a call under `rights`, given by `decision`, may not touch the
    // folder: the rights refused, or no walk by the rule of whose links are
    // followed reaches the folder (FolderReach); none where it may.
    std::optional<DefaultsStoreError> reachedWith(
        const FolderOwnerRights& rights,
        const std::shared_ptr<const FolderRightsDecision>& decision) const;
    // The path that reaches the folder as held now (for the lock file);
    // none where it is not made.
    std::shared_ptr<const std::filesystem::path> reachedFolder() const;
    // `error`, met under `rights`, as the user is told it: naming the
    // folder by its own path, and the owner's lack of rights where that is
    // why.
    DefaultsStoreError told(const FolderOwnerRights& rights, DefaultsStoreError error) const;
    // The lock taken by `take`, with those rights.
    DefaultsLock takenAsOwner(DefaultsLock (DefaultsLockFile::*take)());
    // How often a read starts over on a record replaced while it read it.
    static constexpr int kReadsOfAReplacedFile = 3;
    // read() once; `replaced` when the record's file was replaced since it
    // was opened and no stamp describes it.
    DefaultsReadResult readOnce(std::string_view key, bool& replaced) const;
    // setDataTouching() once the lock is held.
    SaveOutcome writeLocked(std::string_view key, std::string_view bytes,
                            const TouchedRecordParts& touched);
    // The same once the folder is made: the record's new file lands where
    // `entry` (the record's name in `folder`, a link followed) leads.
    SaveOutcome writeTo(const HeldFolder& folder, const HeldFolder::Entry& entry,
                        std::string_view key, std::string_view bytes,
                        const TouchedRecordParts& touched);
    // Why a write must not land now, if anything stops it: the lock file
    // was replaced since the lock was taken (it is held again, but another
    // writer may have landed meanwhile), or the lock could not be had again.
    std::optional<DefaultsStoreError> lockNoLongerHeld();
    // Why `key` cannot be written now, if anything stops it; creates the folder.
    std::optional<DefaultsStoreError> writableFolder(std::string_view key) const;
    // Now on the clock requests and stamps are dated by.
    Date requestNow() const;
    // Now on the wall clock, which dates copies kept aside by their names.
    Date wallNow() const;
    // A time the wall clock told (a file's) on that clock.
    Date onRequestLine(Date wallTime) const;
    // A wall-clock time on that clock, none later than now.
    std::optional<Date> earliestOnLine(std::optional<Date> wallTime) const;
    // When the file no stamp describes that `writeID` names, holding
    // `bytes`, was put there, given its change time `changed`: a time ahead
    // of now was told by a clock that ran ahead, or rounded up from whole
    // seconds, and the file was there when this store first saw it. Dated
    // then, it outranks no request asked since, also once the clock has
    // caught up with its change time: a command line that looked at the
    // record before dating its request is not taken for earlier than an
    // edit made a moment before it.
    Date unstampedDate(const std::string& writeID, std::string_view bytes, Date changed,
                       Date now) const;
    // The stamp of this store's next write of `bytes` to `file`, keeping the
    // requests `previous` (the record's stamp before) named.
    RecordWriteStamp newStamp(const std::optional<RecordWriteStamp>& previous,
                              const TouchedRecordParts& touched, const RecordFileIdentity& file,
                              std::string_view bytes);
    // Moves this write's complete file `ours`, at `temporaryPath`, to a
    // name that no clean-up removes and that names it and the record `read`
    // (kDisplacedMark); that name, or `temporaryPath` where it could not be
    // given.
    static std::string displacingName(const std::string& temporaryPath, const struct stat& ours,
                                      std::optional<HeldFileNumber> read);
    // Whether `target` names the file `ours` (its status).
    static bool stillAt(const std::filesystem::path& target, const struct stat& ours);
    // Puts back a record displaced by the exchange of a writer killed
    // before it put it back itself, where the record that displaced it is
    // still at `target`, then the caller's write must be made again from
    // it (lockFileReplaced); removes what such writers left otherwise.
    std::optional<DefaultsStoreError> putBackDisplaced(const RecordWriteStampFile& stamps,
                                                       const std::filesystem::path& target) const;
    // The same before a read of `key`, where such a record waits beside it
    // and the lock can be had at once: whoever reads (a command, the
    // application's reload) sees the record that was displaced, never the
    // killed write's in its place.
    void putBackBeforeReading(std::string_view key) const;
    // A record displaced from a record's name, waiting beside it.
    struct DisplacedRecord {
        std::filesystem::path path;
        // What its name says after kDisplacedMark: "<the record
        // installed>-<the record read>", by inode number.
        std::string numbers;
    };
    static std::vector<DisplacedRecord> displacedBeside(const std::filesystem::path& target);
    // Exchanges the record at `temporaryPath` back to `target` with its
    // stamps, where `target` still holds `ours`; whether it did.
    bool putBackFrom(const RecordWriteStampFile& stamps, const std::string& temporaryPath,
                     const std::filesystem::path& target, const struct stat& ours) const;
    // After this write's record was exchanged in over another writer's
    // (saved once its lock file was taken from under this one), now at
    // `temporaryPath`: puts that record back with its stamps while this
    // one's is still at `target` (`ours` its status), and tells the caller
    // to make its write again from it, under the lock taken again (or why
    // it could not be).
    DefaultsStoreError givenBack(const RecordWriteStampFile& stamps,
                                 const std::string& temporaryPath,
                                 const std::filesystem::path& target, const struct stat& ours);
    // Why a write found another writer's record at its name must be made
    // again, given how the lock was confirmed since: lost, or taken again.
    DefaultsStoreError toBeMadeAgain(DefaultsLockFile::Hold hold) const;
    // A save of bytes the key's file already holds, made by a new stamp for
    // that very file when the save names requests (or the file has none);
    // none when such a stamp could not be written and the file must be; a
    // failure when the lock no longer holds.
    // `file` (whose fstat is `info`) is the key's file as it stands.
    std::optional<SaveOutcome> stampedInPlace(const RecordWriteStampFile& stamps,
                                              const RecordFileIdentity& file,
                                              const struct stat& info,
                                              const std::optional<RecordWriteStamp>& previous,
                                              std::string_view bytes,
                                              const TouchedRecordParts& touched);

    std::filesystem::path folder_;
    // Whose rights count in folder_ (FolderRightsDecision), kept while it holds.
    FolderRightsCache folderRights_;
    // How folder_ is reached under that decision: every file of it is
    // reached through the folder reach_ holds.
    mutable FolderReach reach_;
    // Random, so no other store (no other process) stamps its writes alike.
    std::string writerName_;
    // Writes are made under the lock, so one at a time.
    std::uint64_t writeCount_ = 0;
    std::shared_ptr<const Clock> wallClock_;
    std::shared_ptr<const RequestClock> requestClock_;
    BeforeRenameHook beforeRename_;
    BeforeRenameHook beforeInstall_;
    std::function<void(const std::filesystem::path&)> afterDisplacing_;
    ReadCall readCall_;
    WriteCall writeCall_;
    IdentityCall identityCall_;
    bool readsDated_ = true;
    // Files without a stamp whose change time was ahead, by write name and
    // bytes: when this store first saw each (a few at most; forgotten past
    // that).
    static constexpr std::size_t kRememberedFilesAhead = 16;
    mutable std::mutex firstSeenMutex_;
    mutable std::map<std::string, Date> firstSeenAhead_;
    RecordWriteStampDecoder stampDecoder_;
    // Declared after folder_, which it locks. A read takes it too, to put
    // back a displaced record first.
    mutable DefaultsLockFile lock_;
};

}  // namespace quorvane
