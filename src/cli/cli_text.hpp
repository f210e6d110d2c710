#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// "on" or "off", as the command line's text output shows a switch.
std::string_view onOff(bool value);

// The text with every character that shows no glyph written as a visible
// escape, so a stored name cannot move the cursor, retitle the terminal,
// reorder what follows it or hide part of itself: the controls (C0 and DEL
// as "\x1b", C1 as "\u009b"), the format characters (direction marks,
// embeddings, overrides and isolates, zero-width characters, the soft hyphen
// and the byte order mark: "\u202e", "\u200b"; past U+FFFF "\U000e0041") and
// the line and paragraph separators ("\u2028"). A backslash is written
// twice, so a name holding the six characters "\u202e" cannot pass for an
// escaped control. Line feeds are kept when `keepLineFeeds` is set
// (messages of several lines). A byte that is not part of valid UTF-8 is
// written as "\x9b" too: the terminal would take it raw, and a lone 0x9b is
// its CSI in 8-bit mode.
std::string visibleControlCharacters(std::string_view text, bool keepLineFeeds = false);

// Encoded JSON with the characters a terminal would act on that JSON itself
// leaves raw written as escapes of the same value ("\u009b"): the C1
// controls (U+0080-U+009F) and the bidirectional embeddings, overrides and
// isolates (U+202A-U+202E, U+2066-U+2069). A reader decodes the same text;
// every other byte is left as it was.
std::string jsonWithTerminalControlsEscaped(std::string_view json);

}  // namespace quorvane
