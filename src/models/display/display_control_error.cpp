#include "models/display/display_control_error.hpp"

#include <array>

#include "models/coding/number_format.hpp"

namespace quorvane {

DisplayControlError DisplayControlError::displayNotFound(std::uint32_t displayID) {
    return {Kind::displayNotFound, displayID, 0};
}
DisplayControlError DisplayControlError::coreGraphics(std::int32_t code) {
    return {Kind::coreGraphics, 0, code};
}
DisplayControlError DisplayControlError::ioKit(std::int32_t code) {
    return {Kind::ioKit, 0, code};
}
DisplayControlError DisplayControlError::noActiveDisplays() {
    return {Kind::noActiveDisplays, 0, 0};
}
DisplayControlError DisplayControlError::modeNotFound() {
    return {Kind::modeNotFound, 0, 0};
}
DisplayControlError DisplayControlError::brightnessUnsupported() {
    return {Kind::brightnessUnsupported, 0, 0};
}

DisplayControlError DisplayControlError::displayServerUnreachable() {
    return coreGraphics(kDisplayServerUnreachableCode);
}

DisplayControlError DisplayControlError::displayServerLost() {
    return coreGraphics(kDisplayServerLostCode);
}

bool DisplayControlError::isDisplayServerUnreachable() const {
    return kind == Kind::coreGraphics &&
           (code == kDisplayServerUnreachableCode || code == kDisplayServerLostCode);
}

bool DisplayControlError::isDisplayServerLost() const {
    return kind == Kind::coreGraphics && code == kDisplayServerLostCode;
}

std::string DisplayControlError::description() const {
    switch (kind) {
        case Kind::displayNotFound:
            return "디스플레이 " + formatDecimal(displayID) + "를 찾지 못했습니다.";
        case Kind::coreGraphics:
            return "X11 오류: " + formatDecimal(code);
        case Kind::ioKit:
            return "시스템 밝기 제어 오류: " + formatDecimal(code);
        case Kind::noActiveDisplays:
            return "활성 디스플레이를 찾지 못했습니다.";
        case Kind::modeNotFound:
            return "요청한 해상도/주사율 모드를 찾지 못했습니다.";
        case Kind::brightnessUnsupported:
            return "이 디스플레이는 시스템 밝기 제어를 제공하지 않습니다. 외장 모니터라면 모니터 "
                   "기능 "
                   "확인을 실행해보세요.";
    }
    return {};
}

namespace {

constexpr std::array<std::pair<DisplayControlError::Kind, std::string_view>, 6> kKindNames{{
    {DisplayControlError::Kind::displayNotFound, "displayNotFound"},
    {DisplayControlError::Kind::coreGraphics, "coreGraphics"},
    {DisplayControlError::Kind::ioKit, "ioKit"},
    {DisplayControlError::Kind::noActiveDisplays, "noActiveDisplays"},
    {DisplayControlError::Kind::modeNotFound, "modeNotFound"},
    {DisplayControlError::Kind::brightnessUnsupported, "brightnessUnsupported"},
}};

}  // namespace

std::string_view caseName(DisplayControlError::Kind kind) {
    for (const auto& [k, name] : kKindNames) {
        if (k == kind)
            return name;
    }
    return {};
}

std::optional<DisplayControlError::Kind> parseCaseName(std::string_view text,
                                                       DisplayControlError::Kind*) {
    for (const auto& [k, name] : kKindNames) {
        if (name == text)
            return k;
    }
    return std::nullopt;
}

}  // namespace quorvane
