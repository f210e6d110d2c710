#pragma once

#include "models/settings/preferences_load_result.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "platform/interfaces/defaults_lock.hpp"
#include "platform/interfaces/defaults_store_error.hpp"
#include "platform/interfaces/save_outcome.hpp"
#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

// Where the preferences record is kept between runs.
class PreferencesStoring {
  public:
    virtual ~PreferencesStoring() = default;
    // Never fails and never writes: nothing stored gives the defaults, an
    // undecodable record the defaults with a notice, and the broken blob
    // stays stored until the next save replaces it. A record that exists but
    // cannot be read gives the defaults with the error as the notice and
    // `recordUnreadable` set.
    virtual PreferencesLoadResult loadResult() const = 0;
    // Writes the whole record and reports the outcome. A record that cannot
    // be encoded writes nothing; a stored record that could not be decoded
    // is kept aside once before the first save replaces it; a record that
    // cannot be read is never replaced.
    // `touched` names the parts user actions set since the record was last
    // read or saved: a merge with another process's save keeps them.
    virtual SaveOutcome save(const QuorvanePreferences& preferences,
                             const TouchedRecordParts& touched) = 0;
    SaveOutcome save(const QuorvanePreferences& preferences) { return save(preferences, {}); }
    // Why the last load found the record unreadable; none when it read.
    virtual std::optional<DefaultsStoreError> lastReadError() const = 0;
    // The parts the requests behind the record last loaded set, each with
    // when it was asked for, where its writers keep them: a request asked
    // earlier than one of them must not set that part again.
    virtual TouchedRecordParts lastLoadRequests() const { return {}; }
    // Loads the record as loadResult() does and returns lastLoadRequests(),
    // for a caller that needs no preferences from it: a store may then
    // leave the record undecoded.
    virtual TouchedRecordParts loadRequests() const {
        loadResult();
        return lastLoadRequests();
    }
    // Whether the stored record may now hold a save this process neither
    // made nor last loaded (see DefaultsStoring::mayHoldOthersWrite()).
    virtual bool mayHoldOthersSave() const { return true; }
    // The lock shared with every other process, held by a caller from its
    // load to its save so no change made in between is lost.
    virtual DefaultsLock lockExclusively() = 0;
    // The same lock only when nobody holds it, never waiting (see
    // DefaultsStoring::tryLockExclusively()).
    virtual DefaultsLock tryLockExclusively() { return DefaultsLock(); }
    // The file that lock is taken on (see DefaultsStoring::lockFilePath()).
    virtual std::string lockFilePath() const { return {}; }
};

}  // namespace quorvane
