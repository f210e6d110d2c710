#pragma once

#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The resolution page ("해상도"): the current mode and a menu of the first
// 40 modes the system offers. Choosing one switches at once (the store
// reports a failure); nothing else on the page changes a mode.
struct ResolutionSection {
    struct Item {
        std::string id;
        std::string label;

        bool operator==(const Item&) const = default;
    };

    std::string currentMode;  // "알 수 없음" without one
    std::vector<Item> items;  // empty: no menu and no closing note

    bool operator==(const ResolutionSection&) const = default;

    static ResolutionSection make(const DisplaySnapshot& display);
    // The mode with that id among the display's modes; unknown ids do nothing.
    static void choose(DisplayStore& store, const DisplaySnapshot& display,
                       const std::string& modeID);

    static constexpr std::size_t kMenuLimit = 40;
    static constexpr const char* kIntro =
        "고급 설정입니다. 시스템이 보여주는 해상도와 주사율만 직접 선택할 수 있으며, 앱 시작 "
        "시 자동으로 바꾸지 않습니다.";
    static constexpr const char* kMenuTitle = "모드 변경…";
    static constexpr const char* kClosingNote =
        "해상도/주사율은 자동 적용하지 않고 사용자가 명시적으로 선택할 때만 변경합니다.";
};

}  // namespace quorvane
