#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The items from index `from` on, joined by `separator`.
std::string joinedText(const std::vector<std::string>& items, std::string_view separator,
                       std::size_t from = 0);

// "on" or "off", as the command line's text output shows a switch.
std::string_view onOff(bool value);

}  // namespace quorvane
