#include "presentation/controls/support_presentation.hpp"

namespace quorvane {

SupportStatusLook SupportPresentation::statusLook(QuorvaneSupportStatus status) {
    switch (status) {
        case QuorvaneSupportStatus::available:
            return {"사용 가능", "checkmark.circle.fill", ColorRole::systemGreen};
        case QuorvaneSupportStatus::needsCheck:
            return {"확인 필요", "questionmark.circle", ColorRole::secondary};
        case QuorvaneSupportStatus::checking:
            return {"확인 중", "arrow.triangle.2.circlepath", ColorRole::secondary};
        case QuorvaneSupportStatus::limited:
            return {"일부 가능", "exclamationmark.triangle.fill", ColorRole::systemOrange};
        case QuorvaneSupportStatus::unavailable:
            return {"사용 불가", "minus.circle", ColorRole::secondary};
        case QuorvaneSupportStatus::explicitAdvanced:
            return {"고급 기능", "slider.horizontal.3", ColorRole::systemOrange};
        case QuorvaneSupportStatus::informational:
            return {"정보", "info.circle", ColorRole::secondary};
    }
    return {"정보", "info.circle", ColorRole::secondary};
}

std::string SupportPresentation::actionTooltip(const QuorvaneSupportAction& action) {
    if (action.detail)
        return *action.detail;
    if (action.disabledReason)
        return *action.disabledReason;
    return action.title;
}

std::optional<std::string> SupportPresentation::shownDisabledReason(
    const QuorvaneSupportAction& action) {
    if (action.isEnabled)
        return std::nullopt;
    return action.disabledReason;
}

std::string SupportPresentation::headerSubtitle(const QuorvaneDisplaySupportSummary& summary) {
    return summary.title + " · " + summary.subtitle;
}

bool SupportPresentation::offersHardwareButton(const QuorvaneDisplaySupportSummary& summary) {
    for (const auto& row : summary.capabilities) {
        for (const auto& action : row.actions) {
            if (action.kind == QuorvaneSupportActionKind::openHardwareSection)
                return true;
        }
    }
    return false;
}

}  // namespace quorvane
