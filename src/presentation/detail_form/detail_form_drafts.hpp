#pragma once

#include <map>
#include <string>

#include "models/display/display_snapshot.hpp"

namespace quorvane {

// The detail form's unsaved choices, per display ID: an alias being typed and
// a colour profile picked but not yet applied. The main window keeps them for
// as long as it lives, so a redraw or a page switch never loses them; keying
// by display ID keeps a choice made for one display off every other one.
struct DetailFormDrafts {
    std::map<DisplayID, std::string> profileIDs;
    std::map<DisplayID, std::string> aliases;

    bool operator==(const DetailFormDrafts&) const = default;
};

}  // namespace quorvane
