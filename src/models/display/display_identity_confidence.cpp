#include "models/display/display_identity_confidence.hpp"

namespace quorvane {

std::string_view caseName(DisplayIdentityConfidence confidence) {
    switch (confidence) {
        case DisplayIdentityConfidence::reliable:
            return "reliable";
        case DisplayIdentityConfidence::serialMissing:
            return "serialMissing";
        case DisplayIdentityConfidence::ambiguous:
            return "ambiguous";
    }
    return "reliable";
}

std::optional<DisplayIdentityConfidence> parseCaseName(std::string_view text,
                                                       DisplayIdentityConfidence*) {
    if (text == "reliable")
        return DisplayIdentityConfidence::reliable;
    if (text == "serialMissing")
        return DisplayIdentityConfidence::serialMissing;
    if (text == "ambiguous")
        return DisplayIdentityConfidence::ambiguous;
    return std::nullopt;
}

std::string_view confidenceReason(DisplayIdentityConfidence confidence) {
    switch (confidence) {
        case DisplayIdentityConfidence::reliable:
            return "시스템이 이 모니터의 고유 번호를 제공해 저장값을 안전하게 다시 찾을 수 "
                   "있습니다.";
        case DisplayIdentityConfidence::serialMissing:
            return "고유 번호가 없어 같은 모델 여러 대를 쓰면 헷갈릴 수 있지만, 현재는 하나만 보여 "
                   "자동 적용이 가능합니다.";
        case DisplayIdentityConfidence::ambiguous:
            return "같은 이름·모델·고유 번호 없음으로 보이는 모니터가 여러 대라 Quorvane이 어느 "
                   "화면인지 확신할 수 없습니다.";
    }
    return {};
}

}  // namespace quorvane
