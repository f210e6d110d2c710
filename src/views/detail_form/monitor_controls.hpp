#pragma once

#include "services/ddc/ddc_capability_badge.hpp"

class QWidget;

namespace quorvane {

struct DetailFormContext;

// The shared monitor controls the monitor-settings page places.

// The compact tag that marks a control writing the monitor's own settings.
QWidget* makeHardwareWriteTag(DetailFormContext& context);
// The capability badge without its detail line (a spinner while checking);
// updateCapabilityBadge() shows the store's current badge.
QWidget* makeCapabilityBadge(DetailFormContext& context);
void updateCapabilityBadge(QWidget* view, const DDCCapabilityBadge& badge);

}  // namespace quorvane
