#pragma once

#include <optional>
#include <string>

#include "services/ddc/ddc_capability_badge.hpp"

namespace quorvane {

struct PanelProbeButton {
    std::string title;
    bool enabled = false;
    std::string helpText;

    bool operator==(const PanelProbeButton&) const = default;
};

// The last line of the quick tuning card: what is known about reaching the
// monitor's own settings, and the button that checks it.
struct PanelDDCStatus {
    std::string labelText;
    std::string systemImage;
    DDCCapabilityBadgeTone tone = DDCCapabilityBadgeTone::secondary;
    std::string helpText;  // the badge's detail, else a general explanation
    std::optional<PanelProbeButton> probeButton;

    bool operator==(const PanelDDCStatus&) const = default;
};

// The probe is offered when nothing is known yet, when the monitor did not
// answer, and when the answer is stale; never while a probe runs. It is
// disabled for a built-in panel (no DDC/CI) and while the display is busy
// with a probe or a monitor write, so requests never pile up.
PanelDDCStatus panelDDCStatus(const DDCCapabilityBadge& badge, bool isBuiltin, bool isBusy);

}  // namespace quorvane
