#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/interfaces/defaults_storing.hpp"
#include "services/persistence/record_merge.hpp"

namespace quorvane {

// The user's defaults for a process that shares its records with others (the
// application beside the command line): a save of a record that another
// process changed since this one last read or saved it writes the file's
// record with only this process's own changes on top, instead of this
// process's whole copy. So a save never undoes another process's saved
// values.
//
// Each record key with a merge remembers its base: the bytes this process
// last read or saved. A save takes the shared lock, reads the file, and when
// the file no longer holds the base, writes the three-way merge of base,
// the saved bytes and the file's bytes. The base then becomes the saved
// bytes (what the caller's next save is made from), not the merge: the
// caller learns the merged record only by reading it, which makes it the
// base. Keys without a merge pass through.
//
// Reads never wait for the shared lock: every write replaces the file whole,
// so a read sees one record, and the caller may be the windows' thread. A
// read that overlapped a save of this store leaves the base to the save.
// A save that cannot take the lock writes nothing and fails with why; one
// whose lock file was replaced while it held the lock (another writer may
// have landed meanwhile) is merged again with the record as it is then.
//
// A save made by user actions names the parts they set, each with when it
// was asked for (setDataTouching): those are ours in the merge even where
// they equal the base, since the caller may not have taken in the other
// process's change yet. Where the other process changed such a part too,
// the later request wins: the file's record is dated by when it was
// written, and a part the other writer's requests set (as its store keeps
// them beside the record) by when that was asked for, even where it holds
// the value it had. A write is told for this store's own by the name the
// disk store gives each write, never by equal bytes (another writer can
// write the same); a record this store wrote itself dates the other
// process's values it carries by the record they came from, not by this
// write. A record removed since the base (a reset by hand) counts as the
// empty one, dated by its folder's change.
//
// A change not written yet (held by a failed write) can be read laid on the
// file's record (readWithUnwrittenChange), as its write would merge it now;
// the read moves the base like any read.
//
// A record that exists but cannot be read at the save is never written
// over: the save writes nothing and fails with the read's error, and the
// base stays what it was, so a later save still merges this one's changes.
//
// A record that reads but does not decode (a hand edit with a typo, a file
// another tool left half written) has nothing to merge, yet is the user's:
// before a save replaces it, its bytes are kept aside once (keepCopyAside)
// and the save's outcome names the copy. When the copy cannot be made the
// save writes nothing and fails with that error, as for an unreadable one.
class MergingDefaultsStore final : public DefaultsStoring {
  public:
    using Merges = std::map<std::string, RecordMerge::BytesMerge, std::less<>>;

    MergingDefaultsStore(std::shared_ptr<DefaultsStoring> disk, Merges merges);

    DefaultsReadResult read(std::string_view key) const override;
    UnwrittenChangeRead readWithUnwrittenChange(std::string_view key, std::string_view bytes,
                                                const TouchedRecordParts& touched) override;
    SaveOutcome setData(std::string_view key, std::string_view bytes) override;
    SaveOutcome setDataTouching(std::string_view key, std::string_view bytes,
                                const TouchedRecordParts& touched) override;
    SaveOutcome keepCopyAside(std::string_view key, std::string_view bytes) override;
    bool keepsUndecodableAside(std::string_view key) const override;
    bool removeKey(std::string_view key) override;
    // False while the file holds the record this store last read or one it
    // wrote itself (a save of its own still on its way included).
    bool mayHoldOthersWrite(std::string_view key) const override;
    DefaultsLock lockExclusively() override;
    DefaultsLock tryLockExclusively() override;
    std::string lockFilePath() const override { return disk_->lockFilePath(); }

  private:
    // setDataTouching() of a key with a merge, under the lock.
    SaveOutcome mergeAndWrite(std::string_view key, RecordMerge::BytesMerge merge,
                              std::string_view bytes, const TouchedRecordParts& touched);
    // Keeps `stored` aside when it does not decode and is not kept already;
    // a failed outcome means it must not be written over.
    SaveOutcome keepUndecodableAside(std::string_view key, RecordMerge::BytesMerge merge,
                                     const std::optional<std::string>& stored);
    // A record as this store last read or saved it: its bytes (none: there
    // was none) and the write that left them, where the disk names writes.
    struct Base {
        std::optional<std::string> bytes;
        std::optional<std::string> writeID;
    };

    // The bytes to write for `bytes`, made from `base` (none: never read),
    // given what the file holds now.
    static std::string mergedWithFile(const std::optional<Base>& base,
                                      RecordMerge::BytesMerge merge, std::string_view bytes,
                                      const DefaultsReadResult& stored,
                                      const TouchedRecordParts& touched);
    // The record the caller last read or saved of `key` (none: never read).
    std::optional<Base> baseOf(std::string_view key) const;
    // A read of a key with a merge, which becomes the base unless it
    // overlapped a save.
    DefaultsReadResult readAsBase(std::string_view key) const;
    // Dates `read` (and names what was asked for in it) by the other
    // processes' values in it: a record this store wrote carries those of
    // the record it merged. The caller holds mutex_.
    void dateOthersValues(std::string_view key, DefaultsReadResult& read) const;
    // The caller holds mutex_.
    void rememberBase(std::string_view key, Base base) const;

    // What this store last wrote of a key, and when the other processes'
    // values it merged in were written and asked for.
    struct OwnWrite {
        std::string bytes;
        std::optional<std::string> writeID;
        std::optional<Date> othersWrittenAt;
        TouchedRecordParts othersRequested;
    };
    // The caller holds mutex_.
    bool isOwnWrite(std::string_view key, const DefaultsReadResult& read) const;
    static bool isOwn(const DefaultsReadResult& read, const OwnWrite& own);
    // What the file holds when it holds no other process's write: the
    // record as last read or saved, and this store's own last write.
    struct KnownWrites {
        std::optional<Base> base;
        std::optional<OwnWrite> own;

        bool include(const DefaultsReadResult& read) const;
    };
    // The caller holds mutex_.
    KnownWrites knownWrites(std::string_view key) const;

    std::shared_ptr<DefaultsStoring> disk_;
    Merges merges_;
    mutable std::mutex mutex_;
    // By key: the record as last read or saved (none: there was none).
    mutable std::map<std::string, Base, std::less<>> bases_;
    // Counts the saves and removals that set a base, so that a read they
    // overlapped does not put an older one back.
    std::uint64_t baseChanges_ = 0;
    // By key: undecodable bytes kept aside and not yet replaced, so a retried
    // save (or one after the caller kept them aside) makes no second copy.
    std::map<std::string, std::string, std::less<>> keptAside_;
    std::map<std::string, OwnWrite, std::less<>> ownWrites_;
};

}  // namespace quorvane
