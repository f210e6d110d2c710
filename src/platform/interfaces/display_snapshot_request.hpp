#pragma once

#include <map>
#include <string>

#include "models/display/display_snapshot.hpp"

namespace quorvane {

// Display names by display ID, as DisplayManaging::screenNamesByDisplayID()
// reads them.
using ScreenNames = std::map<DisplayID, std::string>;

// What one enumeration reads besides the basic fields.
struct DisplaySnapshotRequest {
    bool includeModes = false;
    bool includeHardwareBrightness = false;
    ScreenNames screenNamesByDisplayID;
    // A display system that cannot be reached throws
    // DisplayControlError::displayServerUnreachable() instead of giving an
    // empty list (the command line tells the two apart).
    bool failWhenUnreachable = false;

    bool operator==(const DisplaySnapshotRequest&) const = default;

    // Published at once while a full refresh runs: neither modes nor brightness.
    static DisplaySnapshotRequest lightweight(ScreenNames names) {
        return {false, false, std::move(names)};
    }
    // A window was shown: brightness, no modes.
    static DisplaySnapshotRequest passive(ScreenNames names) {
        return {false, true, std::move(names)};
    }
    // Everything.
    static DisplaySnapshotRequest full(ScreenNames names) { return {true, true, std::move(names)}; }
};

}  // namespace quorvane
