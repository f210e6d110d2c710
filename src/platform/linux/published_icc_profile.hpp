#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/linux/x_connection.hpp"

namespace quorvane {

// The root-window property an output's profile is published under, by the
// output's place among the active outputs: "_ICC_PROFILE" for the first,
// "_ICC_PROFILE_n" for the n-th after it (the ICC-in-X convention).
std::string publishedProfileAtomName(std::size_t outputIndex);

// The profile bytes published under `atomName` on the root window; empty when
// there are none.
std::vector<std::uint8_t> readPublishedProfile(XConnection& connection,
                                               const std::string& atomName);

}  // namespace quorvane
