#include <gtest/gtest.h>

#include "models/recovery/quorvane_effect_recovery_state.hpp"

namespace quorvane {
namespace {

using Mode = QuorvaneEffectRecoveryMode;

DisplayIdentity identity(const std::string& raw) {
    return {raw, "Display", true};
}

TEST(EffectRecoveryState, ActiveIsNeverStored) {
    QuorvaneEffectRecoveryState state;
    state.setMode(Mode::active, identity("A"));
    EXPECT_EQ(state, QuorvaneEffectRecoveryState{});

    state.setMode(Mode::suspended, identity("A"));
    state.setMode(Mode::active, identity("A"));
    EXPECT_TRUE(state.modesByDisplayIdentity.empty());
    EXPECT_EQ(state.snapshot(identity("A")),
              (QuorvaneEffectRecoverySnapshot{"A", Mode::active, false}));
}

TEST(EffectRecoveryState, PendingNoneCanBeUndone) {
    QuorvaneEffectRecoveryState state;
    state.undoByDisplayIdentity["A"] = QuorvanePreviousAdjustment::none();
    state.undoByDisplayIdentity["B"] =
        QuorvanePreviousAdjustment::value(ColorAdjustment::neutral());
    EXPECT_TRUE(state.snapshot(identity("A")).canUndo);
    EXPECT_TRUE(state.snapshot(identity("B")).canUndo);
    EXPECT_FALSE(state.snapshot(identity("C")).canUndo);
}

TEST(EffectRecoveryState, ReconcileKeepsOnlyVisibleDisplays) {
    QuorvaneEffectRecoveryState state;
    state.setMode(Mode::comparingStock, identity("A"));
    state.setMode(Mode::suspended, identity("B"));
    state.undoByDisplayIdentity["A"] = QuorvanePreviousAdjustment::none();
    state.undoByDisplayIdentity["C"] = QuorvanePreviousAdjustment::none();

    state.reconcileVisibleIdentities({"A"});
    EXPECT_EQ(state.modesByDisplayIdentity.size(), 1u);
    EXPECT_EQ(state.undoByDisplayIdentity.size(), 1u);
    EXPECT_EQ(state.snapshot(identity("A")),
              (QuorvaneEffectRecoverySnapshot{"A", Mode::comparingStock, true}));

    state.reconcileVisibleIdentities({});
    EXPECT_EQ(state, QuorvaneEffectRecoveryState{});
}

}  // namespace
}  // namespace quorvane
