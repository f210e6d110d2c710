#pragma once

#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/button_look.hpp"

namespace quorvane {

// The frame that makes a button's label grow with the text size: the given
// padding beside the label, 4 above and below, the whole width offered (the
// label keeps to the leading edge) and never lower than the accessible
// minimum height of the text size (30, 34, 40, 46); taller content grows it.
struct AccessibleButtonFrame {
    double horizontalPadding = 0;
    double verticalPadding = 4;
    double minHeight = 0;

    bool operator==(const AccessibleButtonFrame&) const = default;
};

AccessibleButtonFrame accessibleButtonFrame(QuorvaneTextSize size, double horizontalPadding);

// A button of `shape` whose label wears `frame`: the label's distance from
// the button's edges (the shape's insets plus the frame's paddings) and the
// button's least height (the shape's own, or the framed label's plus the
// shape's vertical insets, whichever is more).
struct FramedButtonBox {
    ButtonInsets labelInsets;
    double minHeight = 0;

    bool operator==(const FramedButtonBox&) const = default;
};

FramedButtonBox framedButtonBox(ButtonShape shape, QuorvaneTextSize size,
                                const AccessibleButtonFrame& frame);

}  // namespace quorvane
