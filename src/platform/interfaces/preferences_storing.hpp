#pragma once

#include "models/settings/preferences_load_result.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "platform/interfaces/defaults_lock.hpp"
#include "platform/interfaces/save_outcome.hpp"

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
    virtual SaveOutcome save(const QuorvanePreferences& preferences) = 0;
    // The lock shared with every other process, held by a caller from its
    // load to its save so no change made in between is lost.
    virtual DefaultsLock lockExclusively() = 0;
};

}  // namespace quorvane
