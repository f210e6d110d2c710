#include "presentation/design/accessible_button_frame.hpp"

#include <algorithm>

#include "presentation/design/typography.hpp"

namespace quorvane {

AccessibleButtonFrame accessibleButtonFrame(QuorvaneTextSize size, double horizontalPadding) {
    return {.horizontalPadding = horizontalPadding,
            .verticalPadding = 4,
            .minHeight = accessibleButtonMinHeight(size)};
}

FramedButtonBox framedButtonBox(ButtonShape shape, QuorvaneTextSize size,
                                const AccessibleButtonFrame& frame) {
    const ButtonInsets shapeInsets = buttonInsets(shape);
    return {.labelInsets = {shapeInsets.horizontal + frame.horizontalPadding,
                            shapeInsets.vertical + frame.verticalPadding},
            .minHeight =
                std::max(buttonMinHeight(shape, size), frame.minHeight + 2 * shapeInsets.vertical)};
}

}  // namespace quorvane
