#pragma once

#include <string>

#include "models/recovery/quorvane_recent_change_recovery_prompt.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The recent-change banner's texts. The countdown is always computed from the
// prompt's publication time (never a decremented counter), so a late or skipped
// tick cannot make it drift from the store's own 8-second dismissal.
struct RecentChangePromptTexts {
    static constexpr double kLifetimeSeconds = 8.0;
    // The banner's symbol is set in a 22-point font, 17 in the panel's
    // compact banner, at every text size.
    static constexpr double kIconPoints = 22;
    static constexpr double kCompactIconPoints = 17;
    // The compact banner's symbol sits one point lower, on its title's line.
    static int iconTopInset(bool compact) { return compact ? 1 : 0; }

    // The room around the titles of the two buttons: the bordered undo
    // button keeps 6 points beside its title (3 in the panel), the
    // borderless keep button 4 (2); both 2 above and below. Their height is
    // the text size's accessible button height at least.
    struct ButtonInsets {
        int horizontal = 0;
        int vertical = 0;

        bool operator==(const ButtonInsets&) const = default;
    };
    static ButtonInsets undoInsets(bool compact) { return {compact ? 3 : 6, 2}; }
    static ButtonInsets keepInsets(bool compact) { return {compact ? 2 : 4, 2}; }

    // max(0, ceil(8 − elapsed seconds)) since the prompt was shown, on the
    // clock no setting moves: 8 at once, 6 after 2.3 s, 1 after 7.9 s, 0
    // from 8 s on.
    static int remainingSeconds(MonotonicTime shownAt, MonotonicTime now);
    // "8초 뒤 숨김" and its spoken form "복구 알림이 8초 뒤 숨겨짐".
    static std::string countdownText(int seconds);
    static std::string countdownAccessibilityText(int seconds);
    // "대상: <name>" for one named target, else "대상: <count>개 화면".
    static std::string targetSummary(const QuorvaneRecentChangeRecoveryPrompt& prompt);
};

}  // namespace quorvane
