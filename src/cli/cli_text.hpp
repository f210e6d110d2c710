#pragma once

#include <string_view>

namespace quorvane {

// "on" or "off", as the command line's text output shows a switch.
std::string_view onOff(bool value);

}  // namespace quorvane
