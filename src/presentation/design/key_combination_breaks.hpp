#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// A key combination such as "Super+Shift+L" is one word to the line breaker,
// so a narrow column splits it inside a key name ("Super+Shi" / "ft+L").
// This inserts a zero-width space after every "+" that joins two keys, so a
// wrap falls between keys instead; the text looks the same.
std::string withBreaksBetweenKeys(std::string_view text);

}  // namespace quorvane
