#pragma once

#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/presets/display_preset.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

// The presets page ("내 설정 저장"): built-in presets first, then the user's;
// applying one changes this display's colour only. Only the user's presets
// can be deleted, after a confirmation.
struct PresetsSection {
    struct Row {
        DisplayPreset preset;
        std::string kindLabel;
        bool deletable = false;
    };

    std::vector<Row> rows;

    static PresetsSection make(const DisplayStore& store);

    static void apply(DisplayStore& store, const DisplayPreset& preset, DisplayID displayID);
    static void requestDelete(DisplayStore& store,
                              QuorvaneDestructiveConfirmationCoordinator& confirmations,
                              const DisplayPreset& preset);
    static void save(DisplayStore& store, std::string& newPresetName, DisplayID displayID);

    static constexpr const char* kIntro =
        "마음에 드는 화면 색감 값을 저장해 두었다가 한 번에 다시 적용합니다. 모니터 "
        "밝기·입력·해상도는 바꾸지 않습니다.";
    static constexpr const char* kNamePlaceholder = "새 프리셋 이름";
    static constexpr const char* kSaveTitle = "현재값 저장";
};

}  // namespace quorvane
