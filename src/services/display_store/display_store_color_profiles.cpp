#include <algorithm>

#include "models/coding/unicode_text.hpp"
#include "models/color/color_profile_error.hpp"
#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kNotConfirmed = "확인되지 않음";

bool isAvailable(const DisplayColorProfileState& state) {
    return state.availability == DisplayColorProfileState::Availability::available;
}

}  // namespace

bool DisplayStore::syncColorProfileState(const DisplaySnapshot& display) {
    std::optional<std::string> failure;
    try {
        auto state = colorProfileManager_->profileState(display);
        rememberDiagnosticPrivacyTokens(state);
        colorProfileStates_[display.id] = std::move(state);
        return true;
    } catch (const ColorProfileError& error) {
        failure = error.description();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    colorProfileStates_[display.id] = DisplayColorProfileState::unavailable(display.id, *failure);
    return false;
}

void DisplayStore::refreshColorProfile(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto target = display(displayID);
    if (!target) {
        colorProfileStates_.erase(displayID);
        setStatusMessage(DisplayControlError::displayNotFound(displayID).description());
        return;
    }
    syncColorProfileState(*target);
    const auto& state = colorProfileStates_.at(displayID);
    if (isAvailable(state))
        setStatusMessage("색상 프로파일 정보를 다시 읽었습니다");
    else
        setStatusMessage(state.message.value_or("색상 프로파일 정보를 읽지 못했습니다"));
}

void DisplayStore::setColorProfile(std::string_view profileID, DisplayID displayID) {
    ChangeScope scope(*this);
    const auto trimmedID = trimWhitespaceAndNewlines(profileID);
    if (trimmedID.empty())
        return;
    const auto target = displayReportingMissing(displayID);
    if (!target)
        return;
    // Only a profile the store has listed itself is ever applied.
    const auto listed = colorProfileStates_.find(displayID);
    if (listed == colorProfileStates_.end() || !isAvailable(listed->second)) {
        setStatusMessage("먼저 색상 프로파일 정보를 새로고침하세요");
        return;
    }
    const auto& profiles = listed->second.profiles;
    const auto chosen =
        std::find_if(profiles.begin(), profiles.end(),
                     [&](const DisplayColorProfile& profile) { return profile.id == trimmedID; });
    if (chosen == profiles.end()) {
        setStatusMessage(ColorProfileError::profileNotFound(trimmedID).description());
        return;
    }
    const DisplayColorProfile profile = *chosen;
    try {
        colorProfileManager_->setDefaultProfile(profile, *target);
    } catch (const ColorProfileError& error) {
        setStatusMessage(error.description(), {profile});
        return;
    } catch (const std::exception& error) {
        setStatusMessage(error.what(), {profile});
        return;
    }

    if (!syncColorProfileState(*target)) {
        setStatusMessage(
            "색상 프로파일을 적용했지만 현재 상태를 다시 읽지 못했습니다: " +
            colorProfileStates_.at(displayID).message.value_or("적용 후 상태 확인에 실패했습니다"));
        return;
    }
    const auto current = colorProfileStates_.at(displayID).currentProfile();
    if (current && current->id == profile.id) {
        setStatusMessage("색상 프로파일 적용됨: " + profile.displayName(), {profile});
    } else if (current) {
        setStatusMessage("색상 프로파일 적용을 요청했지만 현재 프로파일로 확인하지 못했습니다: " +
                             current->displayName(),
                         {*current});
    } else {
        setStatusMessage("색상 프로파일 적용을 요청했지만 현재 프로파일로 확인하지 못했습니다: " +
                         std::string(kNotConfirmed));
    }
}

void DisplayStore::restoreFactoryColorProfile(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto target = displayReportingMissing(displayID);
    if (!target)
        return;
    try {
        colorProfileManager_->restoreFactoryProfile(*target);
    } catch (const ColorProfileError& error) {
        setStatusMessage(error.description());
        return;
    } catch (const std::exception& error) {
        setStatusMessage(error.what());
        return;
    }

    if (!syncColorProfileState(*target)) {
        setStatusMessage(
            "기본/공장 프로파일 복원을 요청했지만 현재 상태를 다시 읽지 못했습니다: " +
            colorProfileStates_.at(displayID).message.value_or("복원 후 상태 확인에 실패했습니다"));
        return;
    }
    const auto current = colorProfileStates_.at(displayID).currentProfile();
    if (current && current->isFactory) {
        setStatusMessage("이 디스플레이의 색상 프로파일을 기본/공장값으로 복원했습니다");
    } else if (current) {
        setStatusMessage(
            "기본/공장 프로파일 복원을 요청했지만 기본/공장값으로 확인하지 못했습니다: " +
                current->displayName(),
            {*current});
    } else {
        setStatusMessage(
            "기본/공장 프로파일 복원을 요청했지만 기본/공장값으로 확인하지 못했습니다: " +
            std::string(kNotConfirmed));
    }
}

void DisplayStore::restoreColorSyncSettings() {
    ChangeScope scope(*this);
    gammaController_->restoreSystemColorSettings();
    // The screens no longer show any saved adjustment, so auto-apply must not
    // skip one as already applied.
    autoApplyTracker_.appliedSignatures.clear();
    setStatusMessage("시스템 화면 출력 색상 보정 기본값으로 복원됨 — 저장값은 유지됨");
}

void DisplayStore::setStatusMessage(std::string text,
                                    const std::vector<DisplayColorProfile>& privacyProfiles) {
    std::vector<std::string> tokens;
    for (const auto& profile : privacyProfiles)
        appendDiagnosticRedactionTokens(profile, tokens);
    // The text first: a changed text drops the tokens of the previous one.
    setStatusMessageWithPrivacyTokens(std::move(text), tokens);
    DisplayColorProfileState named;
    named.profiles = privacyProfiles;
    rememberDiagnosticPrivacyTokens(named);
}

}  // namespace quorvane
