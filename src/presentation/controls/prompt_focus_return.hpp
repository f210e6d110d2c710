#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quorvane {

// Where the focus goes when the undo prompt goes with the focus on one of
// its buttons. A Return or Space meant for "되돌리기" may come a moment
// late, so the control that takes the focus must be one where those keys do
// nothing: pressed, any button changes a screen or a setting or opens a
// window or a menu, a picker opens its list and a text field may submit.
// The focus stays where the user was working: back on the control the change
// came from when it is a slider, else a slider of the same row, else the
// nearest such control of the card the change came from, else that card
// itself, held for the moment; it never leaves the card (for a toolbar, a
// header, whatever follows the prompt). Without a known origin, the nearest
// such control before the prompt, else the page the prompt stood in. Never
// a greyed or hidden control.
struct PromptFocusReturn {
    // What a control is to a late key.
    enum class Kind {
        // A slider or spin box: Return and Space change nothing.
        valueControl,
        // A text field or a drop-down picker: Return may submit it, Space
        // types or opens its list.
        entry,
        // A button, switch, tile or menu button: Return and Space press it.
        pressable,
        // A card or heading given the focus for the moment: it takes no key.
        passive,
    };

    struct Candidate {
        Kind kind = Kind::pressable;
        // Shown and enabled.
        bool takesFocus = false;

        bool operator==(const Candidate&) const = default;
    };

    // True when a late key on `candidate` can do no harm.
    static bool safe(const Candidate& candidate);

    // The first safe one of `inPreferenceOrder`: the control the change
    // came from, the value controls of its row, the card's controls nearest
    // first, then the card; or, with no origin, the controls before the
    // prompt, nearest first, then the page. None when none is safe: the
    // focus then stays where Qt leaves it.
    static std::optional<std::size_t> choose(const std::vector<Candidate>& inPreferenceOrder);

    // The indexes of `count` controls in reading order, nearest to the one at
    // `at` first; of two as near, the one before it.
    static std::vector<std::size_t> nearestFirst(std::size_t at, std::size_t count);
};

}  // namespace quorvane
