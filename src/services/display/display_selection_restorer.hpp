#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"

namespace quorvane {

// Which display is selected after a read, and whether that choice becomes
// the remembered selection.
struct DisplaySelectionRestorer {
    struct Result {
        // Absent only when there is no display.
        std::optional<DisplayID> selectedDisplayID;
        // True for a fallback made while nothing is remembered, so the store
        // remembers it.
        bool persistsSelection = false;

        bool operator==(const Result&) const = default;
    };

    // The current selection while its display is still there; else the
    // display with the remembered identity; else the main display, the first
    // display, or none. A remembered identity whose display is absent stays
    // remembered (persistsSelection false).
    static Result restore(std::optional<DisplayID> currentSelectedDisplayID,
                          const std::vector<DisplaySnapshot>& displays,
                          const std::optional<std::string>& savedIdentityRawValue);
};

}  // namespace quorvane
