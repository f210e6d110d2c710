#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces/defaults_lock.hpp"
#include "platform/interfaces/defaults_store_error.hpp"
#include "platform/interfaces/save_outcome.hpp"
#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

// The reverse-domain identifier that every stored key starts with
// ("org.quorvane.Quorvane.preferences.v1").
inline constexpr std::string_view kDefaultsDomain = "org.quorvane.Quorvane";

// What reading one key found: the stored bytes, nothing (never stored), or
// an error when something is stored but cannot be read. An unreadable record
// is never taken for an absent one.
struct DefaultsReadResult {
    std::optional<std::string> data;
    std::optional<DefaultsStoreError> error;
    // The latest moment at which whoever stored `data` may have written it;
    // none when not known (nothing stored, or a store that keeps no dates).
    std::optional<Date> writtenAt = std::nullopt;
    // Which write left `data`, where the store can tell writes apart by more
    // than their bytes (by the writer's stamp, or else by the file itself);
    // none when it cannot (a store that keeps no such record).
    std::optional<std::string> writeID = std::nullopt;
    // Whether this very store (so this process) made that write.
    bool writtenHere = false;
    // The parts the requests behind `data` set, each with when it was asked
    // for, where the writers keep them: such a part counts as changed by
    // them even where it holds the value it had.
    TouchedRecordParts requested = {};

    bool operator==(const DefaultsReadResult&) const = default;
};

// A record read with a change of this process's that is not written yet.
struct UnwrittenChangeRead {
    // What the record holds with the change laid on it, as a write of the
    // change would leave it now.
    DefaultsReadResult record;
    // Whether writing the change would change what is stored: false once
    // another process's later requests have overtaken every part of it.
    bool changesRecord = true;

    bool operator==(const UnwrittenChangeRead&) const = default;
};

// The user's defaults: opaque bytes under a key. Writes report their outcome.
class DefaultsStoring {
  public:
    virtual ~DefaultsStoring() = default;
    virtual DefaultsReadResult read(std::string_view key) const = 0;
    // The stored bytes; absent when nothing readable is stored.
    std::optional<std::string> dataForKey(std::string_view key) const { return read(key).data; }
    // Replaces the key's value. Refuses to replace a record that exists but
    // cannot be read.
    virtual SaveOutcome setData(std::string_view key, std::string_view bytes) = 0;
    // The same for a save made by user actions: a store that merges the
    // record with another process's saves takes the `touched` parts from
    // `bytes` whatever the other process saved. Other stores just write.
    virtual SaveOutcome setDataTouching(std::string_view key, std::string_view bytes,
                                        const TouchedRecordParts& touched) {
        (void)touched;
        return setData(key, bytes);
    }
    // Keeps `bytes` (a record that did not decode) aside under a dated name of
    // its own next to the key's file; the outcome names the copy.
    virtual SaveOutcome keepCopyAside(std::string_view key, std::string_view bytes) = 0;
    // Whether a save of `key` keeps a stored record that does not decode
    // aside itself before replacing it, and fails rather than replace it when
    // the copy cannot be made: a caller then need not (and, for the save
    // to be held like any failed one, should not) keep it aside first.
    virtual bool keepsUndecodableAside(std::string_view key) const {
        (void)key;
        return false;
    }
    // Removing a key that holds nothing succeeds.
    virtual bool removeKey(std::string_view key) = 0;
    // Whether the key's record may now hold a write that this process
    // neither made nor last read: a store that cannot tell says it may.
    virtual bool mayHoldOthersWrite(std::string_view key) const {
        (void)key;
        return true;
    }
    // Waits for and takes the lock every process shares for these defaults.
    // The store's own writes take it too; taking it again while held by the
    // same store does not wait.
    virtual DefaultsLock lockExclusively() = 0;
    // Takes that lock only when nobody holds it, never waiting: a lock that
    // could not be had holds nothing and says why. A store without a lock
    // gives one that holds nothing and failed nothing.
    virtual DefaultsLock tryLockExclusively() { return DefaultsLock(); }
    // The file that lock is taken on, for a caller that tells of it; empty
    // where the store names none.
    virtual std::string lockFilePath() const { return {}; }
    // Reads the key as a reader taking it in (read()), with `bytes` (a save
    // of the key, made by user actions that touched `touched`, not written
    // yet) laid on what is stored. A store that merges the record with other
    // processes' saves lays it as its write would merge it; others as the
    // write would replace it.
    virtual UnwrittenChangeRead readWithUnwrittenChange(std::string_view key,
                                                        std::string_view bytes,
                                                        const TouchedRecordParts& touched) {
        (void)touched;
        const auto stored = read(key);
        if (stored.error)
            return {stored, true};
        return {{std::string(bytes), std::nullopt, std::nullopt}, stored.data != bytes};
    }
};

// A key must name one file in the defaults folder: not empty, at most 200
// bytes, no "/", no "..", no NUL, no control characters and no leading ".".
// Invalid keys read as absent and refuse writes.
bool isValidDefaultsKey(std::string_view key);

}  // namespace quorvane
