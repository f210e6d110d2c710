#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

// Counts and cuts text by user-perceived characters (extended grapheme
// clusters), so a letter with its combining marks counts once. Invalid UTF-8
// counts one character per bad byte.
std::size_t graphemeCount(std::string_view text);
// The first `count` characters of `text`.
std::string graphemePrefix(std::string_view text, std::size_t count);

}  // namespace quorvane
