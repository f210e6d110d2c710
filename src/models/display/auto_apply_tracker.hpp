#pragma once

#include <map>
#include <set>
#include <string>

#include "models/display/display_identity.hpp"

namespace quorvane {

// Per connected display, the apply signature of what was last written to it,
// so a re-apply after a refresh can skip displays that already show the right
// colours. Kept in memory only: every run starts empty.
struct AutoApplyTracker {
    // display instance key -> ColorAdjustment::stableApplySignature()
    std::map<std::string, std::string> appliedSignatures;

    bool operator==(const AutoApplyTracker&) const = default;

    // Forgets every instance of the monitor (keys starting with its raw value
    // and "|"), so the next re-apply writes it again.
    void clear(const DisplayIdentity& identity);

    // Keeps exactly the entries whose instance key is among the displays just read.
    void reconcileVisibleInstances(const std::set<std::string>& visibleInstanceKeys);
};

}  // namespace quorvane
