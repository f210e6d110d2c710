#include "models/recovery/quorvane_destructive_action_kind.hpp"

#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

using Kind = QuorvaneDestructiveActionKind;

std::string quotedTitle(const std::optional<std::string>& targetName, std::string_view suffix) {
    std::string name = targetName ? trimWhitespaceAndNewlines(*targetName) : std::string();
    if (name.empty())
        name = "선택한 항목";
    return "\u2018" + name + std::string(suffix);
}

}  // namespace

QuorvaneDestructiveConfirmationCopy confirmationCopy(Kind kind,
                                                     const std::optional<std::string>& targetName) {
    switch (kind) {
        case Kind::deleteScene:
            return {quotedTitle(targetName, "\u2019 작업 모드를 삭제할까요?"), "작업 모드 삭제",
                    "이 사용자 작업 모드만 목록에서 삭제합니다. 저장된 화면 색상값, 모니터 밝기, "
                    "입력, 해상도, ICC 프로파일은 변경하지 않습니다."};
        case Kind::deleteDisplayGroup:
            return {quotedTitle(targetName, "\u2019 모니터 묶음을 삭제할까요?"), "모니터 묶음 삭제",
                    "이 사용자 묶음만 삭제합니다. 밝기 동기화 범위가 이 묶음이면 전체 디스플레이 "
                    "범위로 되돌리고, 실제 모니터 밝기·입력·해상도는 변경하지 않습니다."};
        case Kind::deletePreset:
            return {quotedTitle(targetName, "\u2019 프리셋을 삭제할까요?"), "프리셋 삭제",
                    "이 사용자 프리셋만 목록에서 삭제합니다. 현재 화면의 저장 색상값, 모니터 밝기, "
                    "입력, 해상도는 변경하지 않습니다."};
        case Kind::deleteStoredAdjustment:
            return {quotedTitle(targetName, "\u2019의 저장 색상값을 삭제할까요?"),
                    "저장 색상값 삭제",
                    "이 화면에 저장된 Quorvane 색감 값만 삭제하고 시스템 기본 화면 색감으로 "
                    "적용합니다. 해상도, 모니터 밝기, 입력, ICC 프로파일은 변경하지 않습니다."};
        case Kind::restoreOutputColorCorrection:
            return {"화면 출력 색상 보정을 기본값으로 복원할까요?", "출력 색상 보정 복원",
                    "Quorvane이 현재 적용한 화면 출력 색 보정만 시스템 기본값으로 되돌립니다. "
                    "저장된 색상값은 유지되며, 해상도, 모니터 밝기, 입력, ICC 프로파일 선택은 "
                    "변경하지 않습니다."};
        case Kind::restoreDefaultProfile:
            return {quotedTitle(targetName, "\u2019의 기본/공장 프로파일로 복원할까요?"),
                    "기본/공장 프로파일 복원",
                    "이 디스플레이의 사용자 지정 ICC 프로파일 override만 지웁니다. Quorvane 화면 "
                    "색감 값, 해상도, 모니터 밝기, 입력은 변경하지 않습니다."};
        case Kind::applyProfile:
            return {quotedTitle(targetName, "\u2019 프로파일을 적용할까요?"), "프로파일 적용",
                    "선택한 ICC 프로파일을 이 디스플레이의 시스템 기본 프로파일로 저장합니다. "
                    "Quorvane 화면 색감 값, 해상도, 모니터 밝기, 입력은 변경하지 않습니다."};
        case Kind::runEmergencyRecovery:
            return {"모든 화면에 비상 복구를 실행할까요?", "비상 복구 실행",
                    "모든 연결된 화면에 시스템 기본 출력 색상을 즉시 적용하고, 가능한 밝기 제어 "
                    "경로에는 안전 밝기 50%를 요청합니다. 각 화면의 저장된 Quorvane 색감 값은 "
                    "안전 기본값으로 바뀌며, 해상도, 모니터 입력, ICC 프로파일 선택은 변경하지 "
                    "않습니다."};
        case Kind::resetAllSettings:
            return {"모든 Quorvane 설정을 초기화할까요?", "전체 설정 초기화",
                    "저장된 색상값, 선택 디스플레이, 사용자 프리셋/작업 모드/묶음, 자동 적용, 밝기 "
                    "동기화, 전역 작업 모드 단축키 상태를 초기화합니다. 해상도와 모니터 밝기는 "
                    "변경하지 않습니다."};
    }
    return {};
}

}  // namespace quorvane
