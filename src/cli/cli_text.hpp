#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// "on" or "off", as the command line's text output shows a switch.
std::string_view onOff(bool value);

// The text with every control character shown as a visible escape, so a
// stored name cannot move the cursor, retitle the terminal or reorder what
// follows it: C0 controls and DEL as "\x1b", C1 controls (U+0080...U+009F)
// and the bidirectional embeddings, overrides and isolates (U+202A...U+202E,
// U+2066...U+2069) as "\u009b", "\u202e". Line feeds are kept when
// `keepLineFeeds` is set (messages of several lines).
std::string visibleControlCharacters(std::string_view text, bool keepLineFeeds = false);

}  // namespace quorvane
