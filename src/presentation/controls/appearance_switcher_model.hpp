#pragma once

#include <string>
#include <vector>

#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/color_role.hpp"

namespace quorvane {

// The segmented light/dark/system control: which options it offers, which one
// shows as selected and how tall the options are.
struct AppearanceSwitcherModel {
    // `panel`: on a card, with a visible track and a text label; `toolbar`: in
    // a header bar, no track, icon label.
    enum class Chrome { panel, toolbar };

    static std::vector<QuorvaneAppearance> options(bool includeSystem);
    static std::string title(QuorvaneAppearance option);
    static std::string symbol(QuorvaneAppearance option);
    static std::string helpText(QuorvaneAppearance option);
    // "화면 모드: " followed by the title.
    static std::string accessibilityLabel(QuorvaneAppearance option);
    // "선택됨" for the selected option, empty for the others.
    static std::string accessibilityValue(bool selected);

    // The stored choice is selected. A switcher without "system" whose store
    // follows the system shows the scheme actually in use instead.
    static bool isSelected(QuorvaneAppearance option, QuorvaneAppearance stored, bool includeSystem,
                           ColorScheme scheme);
    // Compact switchers show titles only at the largest text size.
    static bool showsTitles(bool compact, QuorvaneTextSize size);
    // toolbar 28, 30, 36, 42; panel 32 (30 compact), 34, 40, 46.
    static double optionMinHeight(Chrome chrome, bool compact, QuorvaneTextSize size);
    // The toolbar's label symbol is set in the base font of the text size
    // (14, 15.68, 17.64, 20.16 pt), in a frame of at least 22 × 28.
    static double toolbarLabelSymbolPoints(QuorvaneTextSize size);
    static constexpr double kToolbarLabelWidth = 22;
    static constexpr double kToolbarLabelHeight = 28;
};

}  // namespace quorvane
