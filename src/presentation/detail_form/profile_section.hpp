#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/color/display_color_profile_state.hpp"
#include "models/display/display_snapshot.hpp"
#include "presentation/detail_form/detail_form_drafts.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// The colour-profile page ("색상 기준"). A profile picked in the picker is
// only a candidate kept in the drafts; the system's profile changes only
// after a confirmed apply or restore.
struct ProfileSection {
    struct CurrentProfileRow {
        std::string name;
        std::optional<std::string> badges;  // " · "-joined; absent when none

        bool operator==(const CurrentProfileRow&) const = default;
    };
    struct PickerOption {
        std::string id;
        std::string name;

        bool operator==(const PickerOption&) const = default;
    };
    struct ProfileRow {
        std::string name;
        bool isCurrent = false;
        std::string summary;
        std::string tooltip;

        bool operator==(const ProfileRow&) const = default;
    };

    // False shows the no-information content: only `unavailableDescription`
    // and a refresh chip.
    bool available = false;
    std::string unavailableDescription;
    std::optional<CurrentProfileRow> currentProfile;  // absent without a current profile
    std::vector<PickerOption> options;
    std::string candidate;
    bool applyDisabled = true;
    bool cancelDisabled = true;
    std::vector<ProfileRow> rows;
    bool restoreDisabled = false;

    bool operator==(const ProfileSection&) const = default;

    static ProfileSection make(const DisplayStore& store, const DisplaySnapshot& display,
                               const DetailFormDrafts& drafts);

    // The draft, else the current profile's id, else currentProfileID, else "".
    static std::string candidateFor(const DetailFormDrafts& drafts, DisplayID displayID,
                                    const DisplayColorProfileState& state);
    // Disabled for a blank candidate, the current profile, an empty list or
    // a candidate that is not listed.
    static bool isApplyDisabled(const std::string& candidate,
                                const DisplayColorProfileState& state);
    static std::string confirmationTarget(const std::string& profileID,
                                          const DisplayColorProfileState& state,
                                          const std::string& displayLabel);
    static std::string summary(const DisplayColorProfile& profile);
    static std::string fileTooltip(const DisplayColorProfile& profile);

    // --- Actions ---------------------------------------------------------
    static void pick(DetailFormDrafts& drafts, DisplayID displayID, std::string profileID);
    static void cancelPick(DetailFormDrafts& drafts, DisplayID displayID);
    // The refresh of the list drops the display's candidate; the refresh
    // offered when nothing could be read keeps it.
    static void refresh(DisplayStore& store, DetailFormDrafts& drafts, DisplayID displayID);
    static void refreshWithoutInformation(DisplayStore& store, DisplayID displayID);
    // Both post a confirmation (dropped while another is open) whose action
    // acts on the display and candidate of the moment of the click.
    static void requestApply(DisplayStore& store, DetailFormDrafts& drafts,
                             QuorvaneDestructiveConfirmationCoordinator& confirmations,
                             const DisplaySnapshot& display);
    static void requestRestore(DisplayStore& store, DetailFormDrafts& drafts,
                               QuorvaneDestructiveConfirmationCoordinator& confirmations,
                               const DisplaySnapshot& display);

    static constexpr const char* kIntro =
        "전문가용 설정입니다. 시스템이 이 디스플레이의 색을 해석할 때 쓰는 기준이며, 일반적인 "
        "밝기/색온도 조정과는 별개입니다.";
    static constexpr const char* kIntroHelp =
        "ICC 프로파일은 앱의 화면 출력 보정이 아니라 시스템이 디스플레이 색을 해석하는 "
        "기준입니다. 잘못 보이면 기본/공장 프로파일로 되돌릴 수 있습니다.";
    static constexpr const char* kPickerHelp =
        "먼저 후보를 고른 뒤 적용 버튼을 눌러야 시스템 색상 프로파일 기본값으로 저장됩니다.";
    static constexpr const char* kApplyHelp =
        "선택한 ICC 프로파일을 이 디스플레이의 시스템 기본 프로파일로 명시적으로 저장합니다.";
    static constexpr const char* kRestoreHelp =
        "이 디스플레이의 사용자 지정 ICC 프로파일 override를 지우고 시스템이 제공한 기본 "
        "프로파일로 되돌립니다.";
    static constexpr const char* kNoInformationTitle = "프로파일 정보 없음";
    static constexpr const char* kNoInformationDescription =
        "이 디스플레이의 색상 프로파일 정보를 아직 읽지 못했습니다.";
};

}  // namespace quorvane
