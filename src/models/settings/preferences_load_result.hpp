#pragma once

#include <optional>
#include <string>

#include "models/coding/date_coding.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

// What a preferences load gives: the record to use, whether a stored blob
// failed to decode, and the notice to show in that case. `recordUnreadable`
// marks a record that exists but could not be read at all (the notice then
// says why); it is never replaced. `writtenAt` is the latest moment the
// record read may have been written (none when not known).
struct PreferencesLoadResult {
    QuorvanePreferences preferences;
    bool recoveredFromCorruption = false;
    std::optional<std::string> message;
    bool recordUnreadable = false;
    std::optional<Date> writtenAt = std::nullopt;

    bool operator==(const PreferencesLoadResult&) const = default;
};

}  // namespace quorvane
