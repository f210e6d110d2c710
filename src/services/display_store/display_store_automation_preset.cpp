#include <cstdint>
#include <optional>
#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/display/display_instance_key.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

// Digits with an optional "+"; "-" only for zero; nothing above 32 bits.
std::optional<DisplayID> parseDisplayIDSelector(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    if (negative && value != 0)
        return std::nullopt;
    return static_cast<DisplayID>(value);
}

}  // namespace

AutomationLookupResult<DisplayPreset> DisplayStore::resolveAutomationPreset(
    std::string_view query) const {
    const auto trimmed = trimWhitespaceAndNewlines(query);
    std::vector<DisplayPreset> candidates = DisplayPreset::builtIns();
    candidates.insert(candidates.end(), customPresets_.begin(), customPresets_.end());
    for (const auto& candidate : candidates) {
        if (candidate.id == trimmed)
            return AutomationLookupResult<DisplayPreset>::success(candidate);
    }
    std::vector<DisplayPreset> named;
    for (const auto& candidate : candidates) {
        if (equalsIgnoringCase(candidate.name, trimmed))
            named.push_back(candidate);
    }
    if (named.empty())
        return AutomationLookupResult<DisplayPreset>::missing();
    if (named.size() == 1)
        return AutomationLookupResult<DisplayPreset>::success(named.front());
    return AutomationLookupResult<DisplayPreset>::ambiguous(std::move(named));
}

AutomationLookupResult<DisplaySnapshot> DisplayStore::resolveAutomationDisplay(
    std::string_view selector) const {
    const auto trimmed = trimWhitespaceAndNewlines(selector);
    if (trimmed.empty())
        return AutomationLookupResult<DisplaySnapshot>::missing();
    if (const auto displayID = parseDisplayIDSelector(trimmed)) {
        if (auto found = display(*displayID))
            return AutomationLookupResult<DisplaySnapshot>::success(*found);
    }
    std::vector<DisplaySnapshot> matches;
    for (const auto& candidate : displays_) {
        if (DisplayIdentity::of(candidate).rawValue == trimmed)
            matches.push_back(candidate);
    }
    if (matches.empty())
        return AutomationLookupResult<DisplaySnapshot>::missing();
    if (matches.size() == 1)
        return AutomationLookupResult<DisplaySnapshot>::success(matches.front());
    return AutomationLookupResult<DisplaySnapshot>::ambiguous(std::move(matches));
}

AutomationPresetApplyResult DisplayStore::applyAutomationPreset(
    const DisplayPreset& preset, const std::vector<DisplaySnapshot>& targets) {
    const auto shown =
        softwareColorCorrectionEnabled_ ? preset.adjustment : ColorAdjustment::neutral();
    int appliedCount = 0;
    std::vector<DisplayID> wroteTo;
    std::vector<std::string> failedNames;
    std::set<std::string> undoRecorded;
    for (const auto& target : targets) {
        if (writeTransferTables(shown, target.id)) {
            failedNames.push_back(target.name);
            continue;
        }
        const auto targetIdentity = DisplayIdentity::of(target);
        recordUndoOnceAndActivate(targetIdentity, undoRecorded);
        setSavedAdjustment(targetIdentity.rawValue, preset.adjustment);
        autoApplyTracker_.appliedSignatures[displayInstanceKey(targetIdentity, target.id)] =
            shown.stableApplySignature();
        ++appliedCount;
        wroteTo.push_back(target.id);
    }
    if (appliedCount > 0)
        savePreferences();

    const std::string count = " (" + formatDecimal(appliedCount) + "개 디스플레이)";
    std::string text;
    std::string detail;
    auto status = QuorvaneRecoveryJournalStatus::applied;
    if (failedNames.empty() && softwareColorCorrectionEnabled_) {
        text = "자동화 프리셋 적용됨: " + preset.name + count;
        detail = "자동화 URL로 요청한 Quorvane 화면 색감 프리셋을 적용했습니다.";
    } else if (failedNames.empty()) {
        text = "자동화 프리셋 저장됨: " + preset.name + count + " · 화면 색감 보정 꺼짐: 저장만 함";
        detail =
            "자동화 URL로 요청한 프리셋은 저장했고, 화면 색감 보정이 꺼져 있어 현재 화면은 "
            "원래 색으로 유지했습니다.";
    } else if (appliedCount > 0) {
        text = "일부 자동화 프리셋 적용 실패: " + joined(failedNames, ", ");
        detail = "가능한 화면에는 프리셋을 적용했고 일부 화면은 실패했습니다.";
        status = QuorvaneRecoveryJournalStatus::partial;
    } else {
        text = "자동화 프리셋 적용 실패: " + joined(failedNames, ", ");
        detail = "자동화 URL 프리셋을 적용할 수 없어 변경하지 않았습니다.";
        status = QuorvaneRecoveryJournalStatus::blocked;
    }
    setStatusMessage(text);
    appendRecoveryJournalEntry(makeJournalEntry(status, "자동화 프리셋", statusMessage_, detail,
                                                recoveryJournalTargets(targets)));
    return {failedNames.empty(), appliedCount > 0, std::move(wroteTo), false, std::move(text)};
}

}  // namespace quorvane
