#include "models/recovery/quorvane_effect_recovery_state.hpp"

#include <iterator>

namespace quorvane {

namespace {

template <class Map>
void keepOnly(Map& map, const std::set<std::string>& keys) {
    for (auto it = map.begin(); it != map.end();) {
        it = keys.count(it->first) ? std::next(it) : map.erase(it);
    }
}

}  // namespace

void QuorvaneEffectRecoveryState::setMode(QuorvaneEffectRecoveryMode mode,
                                          const DisplayIdentity& identity) {
    if (mode == QuorvaneEffectRecoveryMode::active) {
        modesByDisplayIdentity.erase(identity.rawValue);
        return;
    }
    modesByDisplayIdentity[identity.rawValue] = mode;
}

QuorvaneEffectRecoverySnapshot QuorvaneEffectRecoveryState::snapshot(
    const DisplayIdentity& identity) const {
    const auto mode = modesByDisplayIdentity.find(identity.rawValue);
    return {
        identity.rawValue,
        mode == modesByDisplayIdentity.end() ? QuorvaneEffectRecoveryMode::active : mode->second,
        undoByDisplayIdentity.count(identity.rawValue) > 0};
}

void QuorvaneEffectRecoveryState::reconcileVisibleIdentities(
    const std::set<std::string>& visibleRawValues) {
    keepOnly(modesByDisplayIdentity, visibleRawValues);
    keepOnly(undoByDisplayIdentity, visibleRawValues);
}

}  // namespace quorvane
