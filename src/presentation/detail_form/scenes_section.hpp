#pragma once

#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/presets/display_scene.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// The scenes page ("작업 모드"): built-in scenes first, then the user's, each
// applied to this display, to every display or to a saved group. Only the
// user's scenes can be deleted, after a confirmation.
struct ScenesSection {
    struct Row {
        DisplayScene scene;
        std::string subtitle;
        std::string help;
        bool deletable = false;
    };
    struct GroupItem {
        std::string id;
        std::string name;

        bool operator==(const GroupItem&) const = default;
    };

    std::vector<Row> rows;
    std::vector<GroupItem> groups;  // the "묶음에 적용" menu; disabled when empty

    static ScenesSection make(const DisplayStore& store, DisplayID displayID);
    static std::string subtitle(const DisplayStore& store, const DisplayScene& scene,
                                DisplayID displayID);

    static void applyHere(DisplayStore& store, const DisplayScene& scene, DisplayID displayID);
    static void applyEverywhere(DisplayStore& store, const DisplayScene& scene);
    // Applies to the group saved under `groupID` at the moment of the choice.
    static void applyToGroup(DisplayStore& store, const DisplayScene& scene,
                             const std::string& groupID);
    static void requestDelete(DisplayStore& store,
                              QuorvaneDestructiveConfirmationCoordinator& confirmations,
                              const DisplayScene& scene);
    static void save(DisplayStore& store, std::string& newSceneName);

    static constexpr const char* kIntro =
        "업무, 야간, 디자인처럼 여러 화면의 색감을 한 번에 바꾸는 묶음입니다. 모니터 "
        "밝기·입력·해상도는 자동으로 실행하지 않습니다.";
    static constexpr const char* kNamePlaceholder = "새 작업 모드 이름";
    static constexpr const char* kSaveTitle = "현재 화면 세트 저장";
    static constexpr const char* kClosingNote =
        "사용자 작업 모드는 현재 연결된 디스플레이들의 화면 색감만 저장합니다. 모니터 "
        "밝기·입력·해상도는 자동 저장·실행하지 않습니다.";
};

}  // namespace quorvane
