#include "services/automation/quorvane_automation_url_error.hpp"

namespace quorvane {

namespace {

std::string describe(QuorvaneAutomationURLError::Kind kind,
                     const std::optional<std::string>& carried) {
    using Kind = QuorvaneAutomationURLError::Kind;
    const std::string text = carried.value_or("");
    switch (kind) {
        case Kind::unsupportedScheme:
            return "지원하지 않는 URL 스킴입니다: " + (carried ? text : std::string("없음"));
        case Kind::unknownCommand:
            return "알 수 없는 자동화 명령입니다: " + text;
        case Kind::duplicateQueryKey:
            return "중복된 URL 옵션입니다: " + text;
        case Kind::unknownQueryKey:
            return "알 수 없는 URL 옵션입니다: " + text;
        case Kind::unexpectedPath:
            return "자동화 URL 경로를 인식하지 못했습니다: " + text;
        case Kind::unknownScope:
            return "지원하지 않는 자동화 범위입니다: " + text;
        case Kind::missingCommand:
            return "자동화 명령이 필요합니다.";
        case Kind::missingPreset:
            return "적용할 프리셋을 지정하세요.";
        case Kind::missingTarget:
            return "URL 자동화는 display 또는 scope=all-visible을 명시해야 합니다.";
        case Kind::conflictingTargets:
            return "display와 all-visible 범위는 함께 사용할 수 없습니다.";
    }
    return {};
}

}  // namespace

QuorvaneAutomationURLError::QuorvaneAutomationURLError(Kind kind,
                                                       std::optional<std::string> carried)
    : kind_(kind), carried_(std::move(carried)), description_(describe(kind_, carried_)) {}

}  // namespace quorvane
