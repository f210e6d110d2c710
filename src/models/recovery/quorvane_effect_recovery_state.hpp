#pragma once

#include <map>
#include <set>
#include <string>

#include "models/display/display_identity.hpp"
#include "models/recovery/quorvane_effect_recovery_mode.hpp"
#include "models/recovery/quorvane_effect_recovery_snapshot.hpp"
#include "models/recovery/quorvane_previous_adjustment.hpp"

namespace quorvane {

// Per monitor, for this run only: what the screen shows of its correction
// and the one pending undo step. Both maps are keyed by identity raw value.
struct QuorvaneEffectRecoveryState {
    // Only modes other than `active` are stored; an absent key means active.
    std::map<std::string, QuorvaneEffectRecoveryMode> modesByDisplayIdentity;
    // An absent key means nothing to undo.
    std::map<std::string, QuorvanePreviousAdjustment> undoByDisplayIdentity;

    bool operator==(const QuorvaneEffectRecoveryState&) const = default;

    // Setting `active` removes the entry instead of storing it.
    void setMode(QuorvaneEffectRecoveryMode mode, const DisplayIdentity& identity);

    // A pending `none` step counts as something to undo.
    QuorvaneEffectRecoverySnapshot snapshot(const DisplayIdentity& identity) const;

    // Keeps only the displays visible now, so an unplugged monitor loses its
    // mode and its undo step.
    void reconcileVisibleIdentities(const std::set<std::string>& visibleRawValues);
};

}  // namespace quorvane
