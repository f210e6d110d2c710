#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/display/display_identity_confidence.hpp"
#include "models/display/display_snapshot.hpp"
#include "presentation/main_window/main_window_section.hpp"

namespace quorvane {

class DisplayStore;

// One row of the main window's sidebar, a display or a section: what it
// shows, its tooltip and whether it carries the selection mark.
struct SidebarRow {
    std::string title;
    std::optional<std::string> subtitle;
    std::string systemImage;
    // The vector glyph's case name; absent for display rows, which draw the
    // symbol instead.
    std::optional<std::string> glyph;
    std::string help;
    bool isSelected = false;

    bool operator==(const SidebarRow&) const = default;

    // The row is read as one element: the title, or "title, subtitle".
    std::string accessibleName() const;
    // "선택됨" on the marked row, empty on the others.
    std::string accessibleValue() const;
};

struct DisplaySidebarRow {
    DisplayID displayID = 0;
    SidebarRow row;

    bool operator==(const DisplaySidebarRow&) const = default;
};

// "내장" or "외장", then " · " and the confidence word when the display's
// identity is known.
std::string displaySidebarSubtitle(const DisplaySnapshot& display,
                                   std::optional<DisplayIdentityConfidence> confidence);

// The store's displays in its order, the selected one marked.
std::vector<DisplaySidebarRow> displaySidebarRows(const DisplayStore& store);

SidebarRow sectionSidebarRow(MainWindowSection section, MainWindowSection selected);

// The selected display's label, or the application's name without one.
std::string mainWindowTitle(const DisplayStore& store);

}  // namespace quorvane
