#pragma once

#include <string>

#include "models/display/display_identity.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// Names one monitor as connected now: the identity raw value, "|display-"
// and the display ID. The same monitor reconnected under a new display ID
// gets a new key.
std::string displayInstanceKey(const DisplayIdentity& identity, DisplayID displayID);
std::string displayInstanceKey(const DisplaySnapshot& display);

}  // namespace quorvane
