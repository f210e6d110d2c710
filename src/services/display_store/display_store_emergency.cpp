#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/display/display_control_error.hpp"
#include "models/display/quorvane_brightness_safety.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr double kSafeBrightness = 0.5;
constexpr std::string_view kEmergencyActionTitle = "비상 복구";

}  // namespace

bool DisplayStore::recoverDisplaysToSafeState() {
    ChangeScope scope(*this);
    if (displays_.empty()) {
        setStatusMessage(DisplayControlError::noActiveDisplays().description());
        appendRecoveryJournalEntry(makeJournalEntry(
            QuorvaneRecoveryJournalStatus::blocked, std::string(kEmergencyActionTitle),
            statusMessage_, "복구할 활성 화면을 찾지 못했습니다.", {}));
        return false;
    }

    const bool comparisonsRestored = cancelAllTemporaryNeutralComparisons();
    clearRecentChangeRecoveryPrompt(std::nullopt);

    const auto safeAdjustment = QuorvaneBrightnessSafety::emergencySoftwareAdjustment();
    int softwareCount = 0;
    int builtinBrightnessCount = 0;
    int monitorBrightnessCount = 0;
    std::vector<std::string> failures;
    const auto targets = displays_;
    const bool listCarriesBrightness = publishedListCarriesBrightness();
    std::set<std::string> undoRecorded;
    for (const auto& target : targets) {
        const auto targetIdentity = DisplayIdentity::of(target);
        recordUndoOnceAndActivate(targetIdentity, undoRecorded);
        if (applyColorAdjustment(safeAdjustment, target.id, targetIdentity)) {
            setSavedAdjustment(targetIdentity.rawValue, safeAdjustment);
            effectRecoveryState_.setMode(QuorvaneEffectRecoveryMode::active, targetIdentity);
            syncRecoverySnapshot(targetIdentity);
            ++softwareCount;
        } else {
            failures.push_back(target.name + " 화면 색감 복구 실패");
        }

        if (takesSystemBrightness(target, listCarriesBrightness)) {
            try {
                brightnessController_->setBrightness(target.id, kSafeBrightness);
                ++builtinBrightnessCount;
            } catch (...) {
                // No brightness service, or the write was refused.
                failures.push_back(target.name + " 모니터 밝기 복구 실패");
            }
        }

        // The monitor's own brightness, whatever the path above did: only
        // for a monitor that has told its brightness range.
        const auto snapshot = ddcSnapshots_.find(target.id);
        if (snapshot == ddcSnapshots_.end())
            continue;
        const auto brightness = snapshot->second.values.find(DDCVCPCode::brightness);
        if (brightness == snapshot->second.values.end() || brightness->second.maximum == 0)
            continue;
        if (setDDCControl(DDCVCPCode::brightness, brightness->second.scaledValue(kSafeBrightness),
                          target.id, DDCWriteRequestKind::emergencyRecovery)) {
            ++monitorBrightnessCount;
        } else {
            failures.push_back(target.name + " 모니터 밝기 요청 보류");
        }
    }
    savePreferences();

    std::string text = "비상 복구 완료: 화면 색감 " + formatDecimal(softwareCount) + "개, ";
    if (builtinBrightnessCount == 0 && monitorBrightnessCount == 0) {
        text += "밝기 조절 경로 없음";
    } else {
        std::vector<std::string> brightnessParts;
        if (builtinBrightnessCount >= 1)
            brightnessParts.push_back("시스템 밝기 " + formatDecimal(builtinBrightnessCount) +
                                      "개");
        if (monitorBrightnessCount >= 1)
            brightnessParts.push_back("모니터 밝기 " + formatDecimal(monitorBrightnessCount) +
                                      "개 요청");
        text += joined(brightnessParts, ", ");
    }
    if (!comparisonsRestored)
        text += " · 임시 비교 복구 재시도 필요";
    if (!failures.empty())
        text += " · " + failures.front();
    setStatusMessage(text);

    const bool anything = softwareCount + builtinBrightnessCount + monitorBrightnessCount > 0;
    auto status = QuorvaneRecoveryJournalStatus::applied;
    if (!anything)
        status = QuorvaneRecoveryJournalStatus::blocked;
    else if (!failures.empty() || !comparisonsRestored)
        status = QuorvaneRecoveryJournalStatus::partial;
    appendRecoveryJournalEntry(makeJournalEntry(
        status, std::string(kEmergencyActionTitle), statusMessage_,
        "화면 색감은 즉시 복구했고, 모니터 밝기는 가능한 경로에만 안전하게 요청했습니다.",
        recoveryJournalTargets(displays_)));
    return anything;
}

}  // namespace quorvane
