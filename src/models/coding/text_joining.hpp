#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The parts in order with `separator` between each two; "" for no parts.
std::string joined(const std::vector<std::string>& parts, std::string_view separator);

}  // namespace quorvane
