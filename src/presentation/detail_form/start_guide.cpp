#include "presentation/detail_form/start_guide.hpp"

namespace quorvane {

std::string StartGuideStep::accessibleName() const {
    return number + "단계, " + title;
}

const std::vector<StartGuideStep>& StartGuide::steps() {
    static const std::vector<StartGuideStep> list{
        {"1", "screenColor", "paintpalette", "화면 색감 맞추기",
         "색온도와 밝기 느낌만 먼저 조절합니다.", "색감 열기", MainWindowSection::color},
        {"2", "presets", "rectangle.stack.badge.plus", "마음에 들면 저장",
         "현재 값을 내 프리셋으로 남깁니다.", "저장하기", MainWindowSection::presets},
        {"3", "recovery", "arrow.counterclockwise", "이상하면 되돌리기",
         "색이 이상해지면 안전값으로 복원합니다.", "되돌리기", MainWindowSection::recovery},
    };
    return list;
}

std::string StartGuide::displaySymbol(const DisplaySnapshot& display) {
    return display.isBuiltin ? "macbook" : "display";
}

void StartGuide::openStep(MainWindowState& state, const StartGuideStep& step) {
    state.selectSection(step.target);
}

void StartGuide::openAdvanced(MainWindowState& state) {
    state.openAdvancedSection(MainWindowSection::hardware);
}

}  // namespace quorvane
