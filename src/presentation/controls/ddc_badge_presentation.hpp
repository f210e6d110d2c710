#pragma once

#include <optional>
#include <string>

#include "presentation/design/color_role.hpp"
#include "services/ddc/ddc_capability_badge.hpp"

namespace quorvane {

// How a DDC capability badge is drawn inline: a spinner while a probe runs,
// otherwise its symbol; symbol and title in the tone's colour; the detail
// line only when asked for and present.
struct DDCBadgePresentation {
    static bool showsSpinner(const DDCCapabilityBadge& badge);
    static ColorRole toneColor(DDCCapabilityBadgeTone tone);
    static std::optional<std::string> shownDetail(const DDCCapabilityBadge& badge, bool showDetail);
};

}  // namespace quorvane
