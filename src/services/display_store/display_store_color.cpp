#include <algorithm>

#include "models/display/display_instance_key.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr double kMinimumSoftwareBrightness = 0.1;
constexpr double kMaximumSoftwareBrightness = 1.5;

}  // namespace

ColorAdjustment DisplayStore::colorAdjustment(DisplayID displayID) const {
    const auto found = identity(displayID);
    return found ? savedAdjustmentOrNeutral(*found) : ColorAdjustment::neutral();
}

void DisplayStore::updateColorAdjustment(DisplayID displayID,
                                         const std::function<void(ColorAdjustment&)>& mutate) {
    ChangeScope scope(*this);
    const auto snapshot = displayReportingMissing(displayID);
    if (!snapshot)
        return;
    const auto snapshotIdentity = DisplayIdentity::of(*snapshot);
    recordUndoAndActivate(snapshotIdentity);

    auto adjustment = savedAdjustmentOrNeutral(snapshotIdentity);
    mutate(adjustment);
    // Below 0.1 the screen goes too dark to find the control again.
    adjustment.softwareBrightness = std::clamp(
        adjustment.softwareBrightness, kMinimumSoftwareBrightness, kMaximumSoftwareBrightness);
    setSavedAdjustment(snapshotIdentity.rawValue, adjustment);
    savePreferences();

    if (!applyColorAdjustment(adjustment, displayID, snapshotIdentity))
        return;
    publishRecentChangeRecoveryPrompt({*snapshot}, "색상 조정",
                                      QuorvaneRecoveryJournalStatus::applied, std::nullopt);
}

bool DisplayStore::applyColorAdjustment(const ColorAdjustment& adjustment, DisplayID displayID,
                                        const std::optional<DisplayIdentity>& identity) {
    const auto written = softwareColorCorrectionEnabled_ ? adjustment : ColorAdjustment::neutral();
    if (auto error = writeTransferTables(written, displayID)) {
        setStatusMessage(*error);
        return false;
    }
    if (identity) {
        autoApplyTracker_.appliedSignatures[displayInstanceKey(*identity, displayID)] =
            written.stableApplySignature();
    }
    setStatusMessage(softwareColorCorrectionEnabled_
                         ? "색상 조정 적용됨"
                         : "색감 값 저장됨 — 화면 색감 보정이 꺼져 있어 화면은 원래 색으로 둡니다");
    return true;
}

bool DisplayStore::applyColorAdjustmentToIdentity(const ColorAdjustment& adjustment,
                                                  DisplayID displayID,
                                                  const DisplayIdentity& identity) {
    if (!applyColorAdjustment(adjustment, displayID, identity))
        return false;
    for (const auto& other : displays_) {
        if (other.id == displayID || DisplayIdentity::of(other).rawValue != identity.rawValue)
            continue;
        if (!applyColorAdjustment(adjustment, other.id, identity))
            return false;
    }
    return true;
}

}  // namespace quorvane
