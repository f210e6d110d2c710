#pragma once

#include <string>
#include <vector>

#include "models/presets/display_group.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// The display-groups page ("모니터 묶음"): the brightness-sync scope, the
// saved groups with how many of their monitors are connected, saving the
// connected displays as a group and deleting one after a confirmation.
struct GroupsSection {
    struct ScopeOption {
        std::string title;
        std::string tag;  // "" for all displays, else the group's id

        bool operator==(const ScopeOption&) const = default;
    };
    struct Row {
        DisplayGroup group;
        std::string subtitle;
    };

    std::vector<ScopeOption> scopeOptions;
    std::string selectedScope;
    std::vector<Row> rows;           // empty: the empty state
    bool saveNeedsDisplays = false;  // no display known: saving is disabled

    static GroupsSection make(const DisplayStore& store);
    static std::string subtitle(const DisplayStore& store, const DisplayGroup& group);
    static bool saveDisabled(const DisplayStore& store, const std::string& newGroupName);

    // "" (all displays) reaches the store as none, never as an empty id.
    static void chooseScope(DisplayStore& store, const std::string& tag);
    static void requestDelete(DisplayStore& store,
                              QuorvaneDestructiveConfirmationCoordinator& confirmations,
                              const DisplayGroup& group);
    static void save(DisplayStore& store, std::string& newGroupName);

    static constexpr const char* kIntro =
        "여러 모니터를 쓰는 사람을 위한 고급 기능입니다. 책상/업무 세트처럼 현재 연결된 모니터 "
        "묶음을 저장해 적용 범위만 좁힙니다.";
    static constexpr const char* kScopeTitle = "밝기 동기화 범위";
    static constexpr const char* kScopeNote =
        "밝기 동기화는 설정에서 켠 뒤 Quorvane에서 밝기를 바꿀 때만 실행됩니다. 선택 그룹이 "
        "없거나 현재 화면이 그룹 밖이면 동기화하지 않습니다.";
    static constexpr const char* kEmptyTitle = "저장된 묶음 없음";
    static constexpr const char* kEmptyText = "현재 연결된 디스플레이 세트를 먼저 저장하세요.";
    static constexpr const char* kNamePlaceholder = "새 묶음 이름";
    static constexpr const char* kSaveTitle = "현재 연결 세트 저장";
};

}  // namespace quorvane
