#pragma once

#include "models/settings/preferences_load_result.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

// Where the preferences record is kept between runs.
class PreferencesStoring {
  public:
    virtual ~PreferencesStoring() = default;
    // Never fails and never writes: nothing stored gives the defaults, an
    // undecodable record the defaults with a notice, and the broken blob
    // stays stored until the next save replaces it.
    virtual PreferencesLoadResult loadResult() const = 0;
    // Writes the whole record; a record that cannot be encoded writes nothing.
    virtual void save(const QuorvanePreferences& preferences) = 0;
};

}  // namespace quorvane
