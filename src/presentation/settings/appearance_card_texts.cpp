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

}  // namespace quorvane
