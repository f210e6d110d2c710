#include "models/settings/quorvane_settings_transition_error.hpp"

#include <utility>

namespace quorvane {

namespace {

std::string describe(QuorvaneSettingsTransitionError::Kind kind, const std::string& label) {
    using Kind = QuorvaneSettingsTransitionError::Kind;
    switch (kind) {
        case Kind::duplicateImportTarget:
            return "같은 디스플레이가 두 번 선택되었습니다: " + label;
        case Kind::ambiguousImportTarget:
            return "구분이 불확실한 디스플레이에는 자동으로 연결할 수 없습니다: " + label;
        case Kind::builtInPresetImmutable:
            return "기본 프리셋은 수정할 수 없습니다.";
        case Kind::emptyPresetName:
            return "프리셋 이름을 입력하세요";
        case Kind::customPresetNotFound:
            return "커스텀 프리셋을 찾지 못했습니다";
    }
    return {};
}

}  // namespace

QuorvaneSettingsTransitionError::QuorvaneSettingsTransitionError(Kind kind, std::string label)
    : kind_(kind), label_(std::move(label)), description_(describe(kind_, label_)) {}

}  // namespace quorvane
