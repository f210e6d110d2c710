#include "presentation/controls/ddc_badge_presentation.hpp"

namespace quorvane {

bool DDCBadgePresentation::showsSpinner(const DDCCapabilityBadge& badge) {
    return badge.kind == DDCCapabilityBadgeKind::checking;
}

ColorRole DDCBadgePresentation::toneColor(DDCCapabilityBadgeTone tone) {
    switch (tone) {
        case DDCCapabilityBadgeTone::secondary:
            return ColorRole::secondary;
        case DDCCapabilityBadgeTone::green:
            return ColorRole::systemGreen;
        case DDCCapabilityBadgeTone::orange:
            return ColorRole::systemOrange;
        case DDCCapabilityBadgeTone::red:
            return ColorRole::systemRed;
    }
    return ColorRole::secondary;
}

std::optional<std::string> DDCBadgePresentation::shownDetail(const DDCCapabilityBadge& badge,
                                                             bool showDetail) {
    if (!showDetail)
        return std::nullopt;
    return badge.detail;
}

}  // namespace quorvane
