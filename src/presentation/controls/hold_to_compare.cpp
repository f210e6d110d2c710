#include "presentation/controls/hold_to_compare.hpp"

#include <utility>

namespace quorvane {

HoldToCompareSession::HoldToCompareSession(Begin begin, End end, Runs runs)
    : begin_(std::move(begin)), end_(std::move(end)), runs_(std::move(runs)) {}

bool HoldToCompareSession::comparing() const {
    return token_ && (!runs_ || runs_(*token_));
}

void HoldToCompareSession::beginIfNeeded() {
    if (token_ && !comparing())
        end();
    if (!enabled_ || token_)
        return;
    token_ = begin_();
}

void HoldToCompareSession::end() {
    if (!token_)
        return;
    // Drop the local token first: the store may notify observers that run
    // straight back into this session.
    const QuorvaneTemporaryNeutralComparisonToken token = std::move(*token_);
    token_.reset();
    end_(token);
}

void HoldToCompareSession::toggleForAccessibility() {
    if (comparing()) {
        end();
        return;
    }
    beginIfNeeded();
}

HoldToCompareTexts holdToCompareTexts(bool comparing, bool enabled) {
    HoldToCompareTexts texts;
    texts.symbol = comparing ? "eye.fill" : "eye";
    texts.title = comparing ? "원래 색 보는 중" : "누르는 동안 원래 색 보기";
    texts.caption = "손을 떼면 현재 색감으로 돌아옵니다.";
    texts.accessibilityLabel = "누르는 동안 원래 색 보기";
    texts.accessibilityValue = comparing ? "원래 색 비교 중"
                               : enabled ? "현재 색감"
                                         : "사용할 수 없음";
    texts.tooltip = enabled
                        ? "누르고 있는 동안만 Quorvane 보정을 잠시 끕니다. 저장값, 프리셋, "
                          "되돌리기 기록, 모니터 밝기는 바꾸지 않습니다."
                        : "화면 색감 보정이 꺼져 있거나 이미 비교 중입니다. 보정을 켠 뒤 사용할 "
                          "수 있습니다.";
    texts.actsAsButton = enabled || comparing;
    texts.hint =
        texts.actsAsButton
            ? "마우스나 트랙패드는 누르는 동안만 비교합니다. 스크린 리더에서는 실행해 원래 색 "
              "보기 켜기와 끄기를 전환합니다."
            : "화면 색감 보정이 꺼져 있어 원래 색 비교를 시작할 수 없습니다.";
    return texts;
}

}  // namespace quorvane
