#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace quorvane {

// What Space or Return does on a control the keyboard stops at.
enum class KeyEffect {
    // Nothing beyond the control itself: a choice already made, a switch,
    // a button that reads the displays again.
    stays,
    // Shows another page of the window (a sidebar row not selected).
    changesScreen,
    // Opens a window, a dialog or a prompt.
    opensWindow,
};

// The stop a window gives the focus to each time it opens, whatever had
// it when it closed: the first in reading order whose Space or Return
// neither changes the screen nor opens a window or a prompt, so a screen
// reader's first words are the same on every opening and a stray key
// there harms nothing. None when every stop would.
//
// Usage:
//   if (auto stop = openingStop(effects)) stops[*stop]->setFocus();
std::optional<std::size_t> openingStop(std::span<const KeyEffect> stopsInReadingOrder);

}  // namespace quorvane
