#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/display/display_control_error.hpp"
#include "models/display/display_instance_key.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

// The displays that share their identity with another: no saved colour is
// put on them unasked.
std::set<DisplayID> ambiguousDisplays(const std::vector<DisplayIdentityDescriptor>& descriptors) {
    std::set<DisplayID> ambiguous;
    for (const auto& descriptor : descriptors) {
        if (descriptor.confidence == DisplayIdentityConfidence::ambiguous)
            ambiguous.insert(descriptor.displayID);
    }
    return ambiguous;
}

// The status of an apply in which the displays of `failures` failed.
std::string applyFailureText(int appliedCount, const std::vector<std::string>& failures) {
    const std::string head =
        appliedCount == 0 ? "색상 자동 적용 실패" : "일부 디스플레이 색상 적용 실패";
    return head + ": " + joined(failures, "; ");
}

}  // namespace

std::optional<std::string> DisplayStore::writeTransferTables(const ColorAdjustment& adjustment,
                                                             DisplayID displayID) {
    try {
        gammaController_->apply(adjustment, displayID);
        return std::nullopt;
    } catch (const DisplayControlError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
}

bool DisplayStore::writeAndRecordSignature(const ColorAdjustment& value,
                                           const DisplaySnapshot& shown, const std::string& key,
                                           std::vector<std::string>& failures) {
    if (auto error = writeTransferTables(value, shown.id)) {
        failures.push_back(shown.name + ": " + *error);
        return false;
    }
    autoApplyTracker_.appliedSignatures[key] = value.stableApplySignature();
    return true;
}

void DisplayStore::applySavedAdjustmentsIfNeeded(RefreshIntent reason) {
    const auto ambiguous = ambiguousDisplays(identityDescriptors());
    int appliedCount = 0;
    int ambiguousCount = 0;
    std::vector<std::string> failures;
    for (const auto& shown : displays_) {
        const auto shownIdentity = DisplayIdentity::of(shown);
        const auto mode = effectRecoveryState_.snapshot(shownIdentity).mode;
        if (mode != QuorvaneEffectRecoveryMode::active)
            continue;
        const auto saved = colorAdjustments_.find(shownIdentity.rawValue);
        if (saved == colorAdjustments_.end())
            continue;
        if (ambiguous.contains(shown.id)) {
            ++ambiguousCount;
            continue;
        }
        const auto value =
            softwareColorCorrectionEnabled_ ? saved->second : ColorAdjustment::neutral();
        const auto signature = value.stableApplySignature();
        const auto key = displayInstanceKey(shownIdentity, shown.id);
        if (reason != RefreshIntent::explicitUserRefresh) {
            const auto recorded = autoApplyTracker_.appliedSignatures.find(key);
            if (recorded != autoApplyTracker_.appliedSignatures.end() &&
                recorded->second == signature) {
                continue;
            }
        }
        if (writeAndRecordSignature(value, shown, key, failures))
            ++appliedCount;
    }

    const std::string ambiguousSuffix =
        ambiguousCount > 0 ? " · 구분 불확실 " + formatDecimal(ambiguousCount) + "개 건너뜀" : "";
    if (!failures.empty()) {
        setStartupOutputStatus(reason, applyFailureText(appliedCount, failures) + ambiguousSuffix);
        return;
    }
    if (appliedCount == 0) {
        if (ambiguousCount > 0) {
            setStartupOutputStatus(reason, "동일하게 보이는 모니터 " +
                                               formatDecimal(ambiguousCount) +
                                               "개는 자동 색상 적용을 건너뜁니다");
        }
        return;
    }
    std::string text;
    if (!softwareColorCorrectionEnabled_)
        text = "화면 색감 보정 꺼짐 — 저장값은 유지하고 화면은 원래 색으로 둡니다";
    else if (reason == RefreshIntent::startup)
        text = "저장된 색상값 자동 적용됨";
    else
        text = "연결된 디스플레이 색상값 재적용됨";
    setStartupOutputStatus(reason, text + ambiguousSuffix);
}

// What a restart would show, on the outputs that need it: one whose colour
// a take-in changed (set, changed or removed, or every output when the
// correction or auto-apply switch changed), or one that no longer shows
// what this store last put on it, or may not (another process's request
// set its colour, and that process wrote it as it saved). An output this
// store never wrote and whose colour nothing changed keeps its tables (the
// system's own, after a restore of them, until the next explicit refresh).
void DisplayStore::showTakenInAdjustments() {
    const auto takenIn = std::exchange(adjustmentsTakenIn_, {});
    const auto writtenElsewhere = std::exchange(adjustmentsWrittenElsewhere_, {});
    const bool everyOutput = std::exchange(outputSwitchesTakenIn_, false);
    // With auto-apply off a restart leaves the screens alone.
    if (softwareColorCorrectionEnabled_ && !autoApplyEnabled_)
        return;
    const auto ambiguous = ambiguousDisplays(identityDescriptors());
    int appliedCount = 0;
    std::vector<std::string> failures;
    for (const auto& shown : displays_) {
        const auto shownIdentity = DisplayIdentity::of(shown);
        const auto key = displayInstanceKey(shownIdentity, shown.id);
        const auto recorded = autoApplyTracker_.appliedSignatures.find(key);
        const bool known = recorded != autoApplyTracker_.appliedSignatures.end();
        if (!known && !everyOutput && !takenIn.contains(shownIdentity.rawValue))
            continue;
        // With correction off a restart shows every output neutral; with it
        // on, it leaves outputs under a comparison or shared by twins alone.
        const bool leftAlone = effectRecoveryState_.snapshot(shownIdentity).mode !=
                                   QuorvaneEffectRecoveryMode::active ||
                               ambiguous.contains(shown.id);
        if (softwareColorCorrectionEnabled_ && leftAlone)
            continue;
        const auto saved = colorAdjustments_.find(shownIdentity.rawValue);
        // Nothing saved: the system's own colours, as after the quit that a
        // restart follows.
        const auto value = softwareColorCorrectionEnabled_ && saved != colorAdjustments_.end()
                               ? saved->second
                               : ColorAdjustment::neutral();
        const auto signature = value.stableApplySignature();
        if (known && recorded->second == signature &&
            !writtenElsewhere.contains(shownIdentity.rawValue))
            continue;
        if (writeAndRecordSignature(value, shown, key, failures))
            ++appliedCount;
    }
    if (!failures.empty())
        setStatusMessage(applyFailureText(appliedCount, failures));
}

DisabledSoftwareCorrectionResult DisplayStore::applyNeutralColorOutputForDisabledCorrection() {
    DisabledSoftwareCorrectionResult result;
    for (const auto& shown : displays_) {
        if (writeAndRecordSignature(ColorAdjustment::neutral(), shown, displayInstanceKey(shown),
                                    result.failures))
            ++result.neutralizedCount;
    }
    return result;
}

}  // namespace quorvane
