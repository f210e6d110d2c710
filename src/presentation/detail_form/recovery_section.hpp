#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/recovery/quorvane_effect_recovery_snapshot.hpp"
#include "presentation/design/button_look.hpp"
#include "presentation/design/color_role.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// What a recovery card's button does.
enum class RecoveryAction {
    suspendEffect,
    resumeEffect,
    enterComparison,
    exitComparison,
    undoLastChange,
    emergencyRecovery,    // after a confirmation
    deleteSavedColors,    // after a confirmation
    restoreOutputColors,  // after a confirmation
};

struct RecoveryCard {
    std::string title;
    std::string detail;
    std::string systemImage;
    ButtonRole role = ButtonRole::none;
    QuorvaneChipProminence prominence = QuorvaneChipProminence::neutral;
    bool disabled = false;
    std::string help;
    RecoveryAction action = RecoveryAction::suspendEffect;

    bool operator==(const RecoveryCard&) const = default;
};

// The recovery page: the display's effect state, the per-display cards
// (absent without a recovery snapshot), the newest journal entries, the
// emergency recovery and the clean-up cards. The three cards that change
// saved values or every screen act only after a confirmation.
struct RecoverySection {
    struct StatePanel {
        std::string title;
        std::string systemImage;
        ColorRole tint = ColorRole::systemGreen;
        std::string explanation;

        bool operator==(const StatePanel&) const = default;
    };

    std::optional<StatePanel> state;         // absent: kUnknownState is shown
    std::vector<RecoveryCard> displayCards;  // empty without a snapshot
    RecoveryCard emergency;
    std::vector<RecoveryCard> cleanUp;

    bool operator==(const RecoverySection&) const = default;

    static RecoverySection make(const DisplayStore& store, DisplayID displayID);
    static std::string stockComparisonHelp(bool correctionEnabled, bool isSuspended);

    // Runs one card's action; the confirmable ones post a request that acts
    // on the display of the click.
    static void run(RecoveryAction action, DisplayStore& store,
                    QuorvaneDestructiveConfirmationCoordinator& confirmations,
                    const DisplaySnapshot& display);

    static constexpr int kJournalLimit = 4;
    static constexpr const char* kUnknownState =
        "아직 이 화면의 Quorvane 효과 상태를 읽지 못했습니다.";
    static constexpr const char* kEmergencyNote =
        "모니터 밝기·입력 값은 모니터에 기록된 상태라 자동으로 되돌리지 않습니다.";
};

}  // namespace quorvane
