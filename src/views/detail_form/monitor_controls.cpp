#include "views/detail_form/monitor_controls.hpp"

#include "views/controls/ddc_badge_view.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

QWidget* makeHardwareWriteTag(DetailFormContext& context) {
    return new HardwareWriteTag(context.theme, true);
}

QWidget* makeCapabilityBadge(DetailFormContext& context) {
    auto* badge = new DDCBadgeView(context.theme, false);
    badge->setFont(context.theme.font(QuorvaneFontStyle::body));
    return badge;
}

void updateCapabilityBadge(QWidget* view, const DDCCapabilityBadge& badge) {
    static_cast<DDCBadgeView*>(view)->setBadge(badge);
}

}  // namespace quorvane
