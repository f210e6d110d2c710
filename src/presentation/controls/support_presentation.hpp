#pragma once

#include <optional>
#include <string>

#include "models/diagnostics/quorvane_display_support_summary.hpp"
#include "presentation/design/color_role.hpp"

namespace quorvane {

// The one table every support status is shown with (wizard header, capability
// labels, step icons, the card's badge), and the rules of the action buttons.
struct SupportStatusLook {
    std::string label;
    std::string symbol;
    ColorRole tint = ColorRole::secondary;

    bool operator==(const SupportStatusLook&) const = default;
};

struct SupportPresentation {
    static SupportStatusLook statusLook(QuorvaneSupportStatus status);

    // The tooltip: the detail, else the disabled reason, else the title.
    static std::string actionTooltip(const QuorvaneSupportAction& action);
    // The reason printed beside a button: only for a disabled action that has one.
    static std::optional<std::string> shownDisabledReason(const QuorvaneSupportAction& action);

    // "<title> · <subtitle>".
    static std::string headerSubtitle(const QuorvaneDisplaySupportSummary& summary);
    // The card offers "모니터 설정 열기" when any row holds an openHardwareSection
    // action, whatever its enabled state.
    static bool offersHardwareButton(const QuorvaneDisplaySupportSummary& summary);
};

}  // namespace quorvane
