#include "presentation/design/action_button_label.hpp"

#include <algorithm>

#include "presentation/design/button_look.hpp"

namespace quorvane {

double actionButtonHeight(const ActionButtonLabel& label, QuorvaneTextSize size,
                          double labelHeight) {
    const ButtonInsets insets = buttonInsets(ButtonShape::chip);
    const double content = std::max(label.symbolTileSide, labelHeight);
    return std::max(buttonMinHeight(ButtonShape::chip, size), content + 2 * insets.vertical);
}

double actionButtonTitleWidth(const ActionButtonLabel& label, double buttonWidth) {
    const ButtonInsets insets = buttonInsets(ButtonShape::chip);
    return std::max(0.0,
                    buttonWidth - 2 * insets.horizontal - label.symbolTileSide - label.spacing);
}

}  // namespace quorvane
