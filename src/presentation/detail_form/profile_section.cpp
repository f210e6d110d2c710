#include "presentation/detail_form/profile_section.hpp"

#include <algorithm>

#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

using Availability = DisplayColorProfileState::Availability;

// The id the candidate is compared with: the current profile's, else the
// recorded one, else "".
std::string currentID(const DisplayColorProfileState& state) {
    if (const auto current = state.currentProfile())
        return current->id;
    return state.currentProfileID.value_or("");
}

bool isListed(const std::string& id, const DisplayColorProfileState& state) {
    return std::any_of(state.profiles.begin(), state.profiles.end(),
                       [&](const DisplayColorProfile& profile) { return profile.id == id; });
}

}  // namespace

std::string ProfileSection::candidateFor(const DetailFormDrafts& drafts, DisplayID displayID,
                                         const DisplayColorProfileState& state) {
    if (const auto draft = drafts.profileIDs.find(displayID); draft != drafts.profileIDs.end())
        return draft->second;
    return currentID(state);
}

bool ProfileSection::isApplyDisabled(const std::string& candidate,
                                     const DisplayColorProfileState& state) {
    const std::string trimmed = trimWhitespaceAndNewlines(candidate);
    if (trimmed.empty())
        return true;
    if (trimmed == currentID(state))
        return true;
    if (state.profiles.empty())
        return true;
    return !isListed(trimmed, state);
}

std::string ProfileSection::confirmationTarget(const std::string& profileID,
                                               const DisplayColorProfileState& state,
                                               const std::string& displayLabel) {
    std::string name = "선택한 프로파일";
    for (const auto& profile : state.profiles) {
        if (profile.id == profileID) {
            name = profile.displayName();
            break;
        }
    }
    return name + " · " + displayLabel;
}

std::string ProfileSection::summary(const DisplayColorProfile& profile) {
    std::vector<std::string> parts = profile.statusBadges();
    parts.push_back(profile.isFactory ? "시스템 기본/공장 프로파일" : "사용자 지정 프로파일");
    if (profile.url)
        parts.push_back(profile.url->filename().string());
    return joined(parts, " · ");
}

std::string ProfileSection::fileTooltip(const DisplayColorProfile& profile) {
    if (!profile.url)
        return "프로파일 파일 위치를 시스템이 제공하지 않았습니다.";
    return "프로파일 파일: " + profile.url->filename().string();
}

ProfileSection ProfileSection::make(const DisplayStore& store, const DisplaySnapshot& display,
                                    const DetailFormDrafts& drafts) {
    ProfileSection section;
    const auto state = store.colorProfileState(display.id);
    if (!state || state->availability != Availability::available) {
        section.unavailableDescription =
            state && state->message ? *state->message : kNoInformationDescription;
        return section;
    }
    section.available = true;
    const auto current = state->currentProfile();
    if (current) {
        const auto badges = current->statusBadges();
        section.currentProfile =
            CurrentProfileRow{current->displayName(),
                              badges.empty() ? std::nullopt : std::optional(joined(badges, " · "))};
    }
    for (const auto& profile : state->profiles) {
        section.options.push_back({profile.id, profile.displayName()});
        section.rows.push_back(
            {profile.displayName(), profile.isCurrent, summary(profile), fileTooltip(profile)});
    }
    section.candidate = candidateFor(drafts, display.id, *state);
    section.applyDisabled = isApplyDisabled(section.candidate, *state);
    section.cancelDisabled = !drafts.profileIDs.contains(display.id);
    section.restoreDisabled = current && current->isFactory;
    return section;
}

void ProfileSection::pick(DetailFormDrafts& drafts, DisplayID displayID, std::string profileID) {
    drafts.profileIDs[displayID] = std::move(profileID);
}

void ProfileSection::cancelPick(DetailFormDrafts& drafts, DisplayID displayID) {
    drafts.profileIDs.erase(displayID);
}

void ProfileSection::refresh(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID) {
    store.refreshColorProfile(displayID);
    drafts.profileIDs.erase(displayID);
}

void ProfileSection::refreshWithoutInformation(DisplayStore& store, DisplayID displayID) {
    store.refreshColorProfile(displayID);
}

void ProfileSection::requestApply(DisplayStore& store, DetailFormDrafts& drafts,
                                  QuorvaneDestructiveConfirmationCoordinator& confirmations,
                                  const DisplaySnapshot& display) {
    const auto state = store.colorProfileState(display.id);
    if (!state)
        return;
    const DisplayID displayID = display.id;
    const std::string chosen = candidateFor(drafts, displayID, *state);
    confirmations.request(QuorvaneDestructiveActionKind::applyProfile,
                          confirmationTarget(chosen, *state, store.displayLabel(display)),
                          QuorvaneDestructiveConfirmationStyle::standard,
                          [&store, &drafts, displayID, chosen] {
                              store.setColorProfile(chosen, displayID);
                              drafts.profileIDs.erase(displayID);
                          });
}

void ProfileSection::requestRestore(DisplayStore& store, DetailFormDrafts& drafts,
                                    QuorvaneDestructiveConfirmationCoordinator& confirmations,
                                    const DisplaySnapshot& display) {
    const DisplayID displayID = display.id;
    confirmations.request(
        QuorvaneDestructiveActionKind::restoreDefaultProfile, store.displayLabel(display),
        QuorvaneDestructiveConfirmationStyle::destructive, [&store, &drafts, displayID] {
            store.restoreFactoryColorProfile(displayID);
            drafts.profileIDs.erase(displayID);
        });
}

}  // namespace quorvane
