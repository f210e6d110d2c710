#include "presentation/controls/recent_change_prompt.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace quorvane {

int RecentChangePromptTexts::remainingSeconds(MonotonicTime shownAt, MonotonicTime now) {
    const double elapsed = std::chrono::duration<double>(now - shownAt).count();
    const double left = std::ceil(kLifetimeSeconds - std::max(0.0, elapsed));
    return static_cast<int>(std::clamp(left, 0.0, kLifetimeSeconds));
}

std::string RecentChangePromptTexts::countdownText(int seconds) {
    return std::to_string(seconds) + "초 뒤 숨김";
}

std::string RecentChangePromptTexts::countdownAccessibilityText(int seconds) {
    return "복구 알림이 " + std::to_string(seconds) + "초 뒤 숨겨짐";
}

std::string RecentChangePromptTexts::targetSummary(
    const QuorvaneRecentChangeRecoveryPrompt& prompt) {
    const auto names = prompt.displayNames();
    if (prompt.targets.size() == 1 && !names.front().empty())
        return "대상: " + names.front();
    return "대상: " + std::to_string(prompt.targets.size()) + "개 화면";
}

}  // namespace quorvane
