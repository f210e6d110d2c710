#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// A key combination such as "Super+Shift+L" reads as one unit: a wrapped
// line must never end inside it ("Super+" / "Shift+L"). This puts a word
// joiner on each side of every "+" that joins two keys, so no line breaker
// finds a break there whatever its rules for "+"; the text looks the same.
// The column it is shown in must still be as wide as the combination (see
// WrappingLabel::setKeepsWordsWhole), or a line breaker splits it anywhere.
std::string withKeyCombinationsWhole(std::string_view text);

}  // namespace quorvane
