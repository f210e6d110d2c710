#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/ddc/ddc_capability_entry.hpp"
#include "models/display/display_snapshot.hpp"
#include "services/ddc/ddc_capability_badge.hpp"

namespace quorvane {

// Turns a display, its capability entry and the probe state into a badge.
class DDCCapabilityBadgeResolver {
  public:
    // A check more than this long ago needs a new probe.
    static constexpr std::chrono::seconds kRecheckAge{604800};

    // `isChecking`: a probe of the display runs or has timed out and not yet
    // returned. `probedInCurrentSession`: this connection (identity and
    // fingerprint) was probed during this run.
    static DDCCapabilityBadge badge(const DisplaySnapshot& display,
                                    const std::optional<DDCCapabilityEntry>& entry, bool isChecking,
                                    bool probedInCurrentSession, Date now);

    // "마지막 확인: " and the abbreviated Korean date with the short time in
    // the local time zone, "마지막 확인: 2026년 12월 7일 오후 1:15" (the badge
    // sits in Korean text, so never in LANG's language).
    static std::string lastCheckedText(Date date);

  private:
    static DDCCapabilityBadge recheckBadge(const DDCCapabilityEntry& entry,
                                           std::string_view reason);
    static std::string savedResultText(const DDCCapabilityEntry& entry,
                                       bool probedInCurrentSession);
};

}  // namespace quorvane
