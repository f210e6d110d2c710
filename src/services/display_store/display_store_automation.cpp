#include "models/coding/text_joining.hpp"
#include "services/automation/quorvane_automation_url_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

bool DisplayStore::handleAutomationURL(std::string_view url) {
    return carryOutAutomationURL(url).kind == QuorvaneAutomationURLOutcome::Kind::carriedOut;
}

QuorvaneAutomationURLOutcome DisplayStore::carryOutAutomationURL(std::string_view url) {
    using Outcome = QuorvaneAutomationURLOutcome;
    ChangeScope scope(*this);
    // Carried out against the record as it stands when the URL arrives: a
    // change another process saved a moment ago may not have been told by
    // the folder yet, and the same URL again must then not pass for a copy.
    takeInPreferencesSavedElsewhere();
    QuorvaneAutomationURLDispatchResult result;
    // A repeat is a copy only while the screen still shows what the first
    // one left there: a command line killed between its ramps and its save
    // changed the screen and told nobody.
    const auto currentRamp = [this](DisplayID displayID) {
        return gammaController_->currentRamp(displayID);
    };
    try {
        result = automationURLCoordinator_.dispatch(url, scheduler_->monotonicNow(),
                                                    scheduler_->wallNow(), currentRamp);
    } catch (const QuorvaneAutomationURLError& error) {
        // Nothing is remembered, so a corrected or repeated URL is never
        // suppressed.
        std::string text = "자동화 URL 오류: " + error.description();
        setStatusMessage(text);
        return {Outcome::Kind::refused, std::move(text)};
    }
    if (result.isDuplicate) {
        std::string text = "중복 자동화 URL을 무시했습니다";
        setStatusMessage(text);
        return {Outcome::Kind::duplicate, std::move(text)};
    }
    const auto dispatch = *result.dispatch;
    const auto execution = executeAutomationCommand(dispatch.command);
    if (execution.recordsDispatch) {
        ShownRamps shown;
        for (const auto displayID : execution.wroteTo)
            shown[displayID] = currentRamp(displayID);
        automationURLCoordinator_.recordHandled(dispatch, std::move(shown));
    }
    const auto kind = execution.succeeded ? Outcome::Kind::carriedOut
                      : execution.refused ? Outcome::Kind::refused
                                          : Outcome::Kind::failed;
    return {kind, execution.statusText};
}

AutomationCommandExecutionResult DisplayStore::executeAutomationCommand(
    const QuorvaneAutomationCommand& command) {
    switch (command.kind) {
        case QuorvaneAutomationCommand::Kind::open:
            return acknowledgeAutomationURL("Quorvane 자동화 URL을 받았습니다");
        case QuorvaneAutomationCommand::Kind::diagnostics:
            return acknowledgeAutomationURL(
                "진단 자동화 URL을 받았습니다. 설정 > 지원에서 리포트 미리보기를 확인하세요");
        case QuorvaneAutomationCommand::Kind::applySafePreset:
            break;
    }
    if (!urlPresetAutomationEnabled_) {
        std::string text =
            "URL 프리셋 자동화가 꺼져 있습니다. 설정에서 먼저 켜야 외부 링크가 저장 색상값을 "
            "적용합니다.";
        setStatusMessage(text);
        return {false, false, {}, true, std::move(text)};
    }
    auto applied = applyAutomationPreset(command.presetQuery, command.target);
    return {applied.succeeded, applied.succeeded || applied.appliedAny, std::move(applied.wroteTo),
            applied.refused, std::move(applied.statusText)};
}

AutomationCommandExecutionResult DisplayStore::acknowledgeAutomationURL(std::string text) {
    setStatusMessage(text);
    return {true, true, {}, false, std::move(text)};
}

AutomationPresetApplyResult DisplayStore::refuseAutomationPreset(std::string text) {
    setStatusMessage(text);
    return {false, false, {}, true, std::move(text)};
}

AutomationPresetApplyResult DisplayStore::applyAutomationPreset(
    std::string_view query, const QuorvaneAutomationTarget& target) {
    const auto preset = resolveAutomationPreset(query);
    using PresetLookup = AutomationLookupResult<DisplayPreset>;
    if (preset.kind == PresetLookup::Kind::missing)
        return refuseAutomationPreset("자동화 프리셋을 찾지 못했습니다: " + std::string(query));
    if (preset.kind == PresetLookup::Kind::ambiguous) {
        std::vector<std::string> candidates;
        for (const auto& candidate : preset.values)
            candidates.push_back(candidate.name + " (" + candidate.id + ")");
        return refuseAutomationPreset("자동화 프리셋 이름이 중복됩니다. id를 사용하세요: " +
                                      joined(candidates, ", "));
    }
    if (target.kind == QuorvaneAutomationTarget::Kind::allVisible) {
        if (displays_.empty())
            return refuseAutomationPreset("자동화할 활성 디스플레이가 없습니다");
        return applyAutomationPreset(preset.values.front(), displays_);
    }
    const auto found = resolveAutomationDisplay(target.selector);
    using DisplayLookup = AutomationLookupResult<DisplaySnapshot>;
    if (found.kind == DisplayLookup::Kind::success)
        return applyAutomationPreset(preset.values.front(), found.values);
    if (found.kind == DisplayLookup::Kind::ambiguous) {
        std::vector<std::string> candidates;
        for (const auto& candidate : found.values)
            candidates.push_back(candidate.name + " (" + DisplayIdentity::of(candidate).rawValue +
                                 ")");
        return refuseAutomationPreset(
            "자동화 디스플레이 식별자가 중복됩니다. display id를 사용하세요: " +
            joined(candidates, ", "));
    }
    return refuseAutomationPreset("자동화 디스플레이를 찾지 못했습니다: " + target.selector);
}

}  // namespace quorvane
