#include "presentation/settings/appearance_card_texts.hpp"

namespace quorvane {

std::string_view textSizeDetail(QuorvaneTextSize textSize) {
    switch (textSize) {
        case QuorvaneTextSize::standard:
            return "시스템 기본 크기에 가깝게 표시합니다.";
        case QuorvaneTextSize::large:
            return "초보자에게 추천하는 조금 큰 글자입니다.";
        case QuorvaneTextSize::extraLarge:
            return "메뉴바와 설정 화면을 더 읽기 쉽게 키웁니다.";
        case QuorvaneTextSize::veryLarge:
            return "버튼과 창도 함께 키우고 긴 문구는 줄바꿈해 가장 크게 보여줍니다.";
    }
    return {};
}

std::string_view appearanceDetail(QuorvaneAppearance appearance) {
    switch (appearance) {
        case QuorvaneAppearance::system:
            return "시스템의 밝은/어두운 모드 설정을 따릅니다.";
        case QuorvaneAppearance::light:
            return "항상 밝은 화면으로 표시합니다.";
        case QuorvaneAppearance::dark:
            return "항상 어두운 화면으로 표시합니다.";
    }
    return {};
}

}  // namespace quorvane
