#pragma once

#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "presentation/main_window/main_window_section.hpp"
#include "presentation/main_window/main_window_state.hpp"

namespace quorvane {

// The start page: three step cards that each open one section, and the
// advanced-settings button. Nothing here touches a display.
struct StartGuideStep {
    std::string number;
    std::string glyph;        // the glyph's case name
    std::string systemImage;  // the symbol it stands for
    std::string title;
    std::string description;
    std::string actionTitle;
    MainWindowSection target = MainWindowSection::color;

    bool operator==(const StartGuideStep&) const = default;

    // "1단계, 화면 색감 맞추기": what a screen reader says for the card.
    std::string accessibleName() const;
};

struct StartGuide {
    static const std::vector<StartGuideStep>& steps();
    // "macbook" beside a built-in panel's name, "display" otherwise.
    static std::string displaySymbol(const DisplaySnapshot& display);

    static void openStep(MainWindowState& state, const StartGuideStep& step);
    // Opens the sidebar's advanced group, then the monitor-settings page.
    static void openAdvanced(MainWindowState& state);

    static constexpr const char* kHeroTitle = "처음엔 3가지만 하면 됩니다";
    static constexpr const char* kHeroText =
        "화면 색감을 맞추고, 마음에 들면 저장하고, 이상하면 되돌리세요. 나머지는 필요할 때만 "
        "열면 됩니다.";
    static constexpr const char* kAdvancedTitle = "고급 옵션은 나중에";
    static constexpr const char* kAdvancedText =
        "모니터 자체 밝기, 색상 기준, 해상도, 안 되는 이유는 필요할 때만 엽니다.";
    static constexpr const char* kAdvancedButton = "모니터 자체 설정 보기";
};

}  // namespace quorvane
