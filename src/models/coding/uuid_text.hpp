#pragma once

#include <string>

namespace quorvane {

// The upper-case text of a new random (version 4) UUID:
// "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string newUuidText();

}  // namespace quorvane
