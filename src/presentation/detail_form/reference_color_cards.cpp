#include "presentation/detail_form/reference_color_cards.hpp"

#include "models/coding/number_format.hpp"
#include "models/color/quorvane_color_temperature.hpp"
#include "presentation/detail_form/color_bindings.hpp"

namespace quorvane {

double ColorSliderRow::value(const ColorAdjustment& adjustment) const {
    if (inKelvin)
        return ColorBindings::kelvin(adjustment);
    return adjustment.*field;
}

std::string ColorSliderRow::valueText(const ColorAdjustment& adjustment) const {
    if (inKelvin)
        return QuorvaneColorTemperature::displayText(adjustment.warmth);
    return formatFixed(adjustment.*field, 2);
}

std::string ColorSliderRow::formatted(double sliderValue) const {
    if (inKelvin)
        return QuorvaneColorTemperature::kelvinText(sliderValue);
    return formatFixed(sliderValue, 2);
}

void ColorSliderRow::commit(DisplayStore& store, DisplayID displayID, double sliderValue) const {
    if (inKelvin) {
        ColorBindings::setColorTemperatureKelvin(store, displayID, sliderValue);
        return;
    }
    ColorBindings::setField(store, displayID, field, sliderValue);
}

bool ColorResetButton::disabled(const ColorAdjustment& adjustment) const {
    switch (kind) {
        case ColorResetKind::levels:
            return ColorBindings::levelsAreNeutral(adjustment);
        case ColorResetKind::rgbGains:
            return ColorBindings::rgbGainsAreNeutral(adjustment);
        case ColorResetKind::rgbCurves:
            return ColorBindings::rgbCurvesAreNeutral(adjustment);
    }
    return true;
}

void ColorResetButton::press(DisplayStore& store, DisplayID displayID) const {
    switch (kind) {
        case ColorResetKind::levels:
            ColorBindings::resetLevels(store, displayID);
            return;
        case ColorResetKind::rgbGains:
            ColorBindings::resetRGBGains(store, displayID);
            return;
        case ColorResetKind::rgbCurves:
            ColorBindings::resetRGBCurves(store, displayID);
            return;
    }
}

namespace {

ColorSliderRow row(std::string title, std::string subtitle, double ColorAdjustment::*field,
                   double minimum, double maximum) {
    return {std::move(title), std::move(subtitle), field, false, minimum, maximum, 0.05};
}

std::vector<ReferenceColorCard> makeCards() {
    using A = ColorAdjustment;
    ReferenceColorCard basics{
        ReferenceColorCardKind::basics,
        "기본 색감",
        "먼저 조절",
        std::nullopt,
        {
            {"색온도", "낮은 K는 따뜻하게, 높은 K는 차갑게", &A::warmth, true, 2700, 9300, 100},
            row("밝은 영역", "화면 출력의 밝은 영역", &A::softwareBrightness, 0.1, 1.5),
            row("어두운 영역", "그림자와 깊이감을 대비로 근사 조정", &A::contrast, 0.2, 2.0),
            row("중간톤", "중간 밝기 톤을 부드럽게 이동", &A::gamma, 0.4, 2.5),
        },
        ColorResetButton{ColorResetKind::levels, "톤만 기본값으로"},
    };
    ReferenceColorCard outputRGB{
        ReferenceColorCardKind::outputRGB,
        "화면 출력 RGB",
        "빨강·초록·파랑",
        "빨강·초록·파랑 출력 비율을 각각 보정합니다. 모니터 자체 RGB 메뉴 값은 바꾸지 "
        "않습니다.",
        {
            row("빨강", "화면 출력의 빨간빛 비율", &A::redGain, 0.0, 2.0),
            row("초록", "화면 출력의 초록빛 비율", &A::greenGain, 0.0, 2.0),
            row("파랑", "화면 출력의 파란빛 비율", &A::blueGain, 0.0, 2.0),
        },
        ColorResetButton{ColorResetKind::rgbGains, "RGB만 기본값으로"},
    };
    ReferenceColorCard curves{
        ReferenceColorCardKind::rgbCurves,
        "고급 RGB 곡선",
        "그래프 조정",
        "그래프 위 점을 드래그해 RGB 곡선을 조정합니다. 화면에 입히는 소프트웨어 곡선만 "
        "바꾸며, 모니터 자체 RGB 값은 건드리지 않습니다.",
        {
            row("빨강 곡선", "빨강 채널 중간톤 곡선", &A::redGamma, 0.4, 2.5),
            row("초록 곡선", "초록 채널 중간톤 곡선", &A::greenGamma, 0.4, 2.5),
            row("파랑 곡선", "파랑 채널 중간톤 곡선", &A::blueGamma, 0.4, 2.5),
        },
        ColorResetButton{ColorResetKind::rgbCurves, "RGB 곡선 기본값으로"},
    };
    ReferenceColorCard filter{
        ReferenceColorCardKind::outputFilter,
        "출력 필터",
        "선택 사항",
        "지금은 안전하게 적용할 수 있는 필터만 제공합니다.",
        {},
        std::nullopt,
    };
    return {basics, outputRGB, curves, filter};
}

}  // namespace

const std::vector<ReferenceColorCard>& ReferenceColorCards::cards() {
    static const std::vector<ReferenceColorCard> list = makeCards();
    return list;
}

std::optional<bool> ReferenceColorCards::holdToCompareEnabled(
    const std::optional<QuorvaneEffectRecoverySnapshot>& snapshot, bool correctionEnabled) {
    if (!snapshot)
        return std::nullopt;
    return snapshot->mode == QuorvaneEffectRecoveryMode::active && correctionEnabled;
}

std::string ReferenceColorCards::outputFilterOptionText(QuorvaneOutputFilter filter) {
    return filter == QuorvaneOutputFilter::none ? "끄기" : "색 반전";
}

std::string ReferenceColorCards::outputFilterDescription(QuorvaneOutputFilter filter) {
    return filter == QuorvaneOutputFilter::none ? "필터 없음" : "밝고 어두운 값을 뒤집기";
}

}  // namespace quorvane
