#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quorvane {

// Where the focus goes when the undo prompt goes with the focus on one of
// its buttons. A Return or Space meant for "되돌리기" may come a moment
// late, so the control that takes the focus must be one where that key
// changes no screen: back on the control the change came from when it is
// such a control (a slider, whose Return does nothing), else the value
// control of the same row (a nudge or tile made the change, and its key
// would make it again), else the nearest control before the prompt that is
// safe. Never a greyed or hidden control, never whatever follows the prompt.
struct PromptFocusReturn {
    // What a control is to a late key.
    enum class Kind {
        // A slider or spin box: Return and Space change nothing.
        valueControl,
        // A text field or a drop-down picker: Return and Space edit or open,
        // never apply.
        entry,
        // A button, switch or tile: Return and Space press it.
        pressable,
    };

    struct Candidate {
        Kind kind = Kind::pressable;
        // Shown and enabled.
        bool takesFocus = false;
        // Pressed, it changes what a screen shows (a nudge, a tile, an
        // apply button).
        bool changesScreen = false;
        // The change the prompt offers to undo came from it: pressed again,
        // it makes another.
        bool madeTheChange = false;

        bool operator==(const Candidate&) const = default;
    };

    // True when a late key on `candidate` can do no harm.
    static bool safe(const Candidate& candidate);

    // The first safe one of `inPreferenceOrder`: the control the change
    // came from, the value controls of its row, then the controls before
    // the prompt, nearest first. None when none is safe: the focus then
    // stays where Qt leaves it.
    static std::optional<std::size_t> choose(const std::vector<Candidate>& inPreferenceOrder);
};

}  // namespace quorvane
