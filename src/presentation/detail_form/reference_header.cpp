#include "presentation/detail_form/reference_header.hpp"

#include "models/color/quorvane_color_temperature.hpp"

namespace quorvane {

ReferenceHeader ReferenceHeader::make(const DisplayStore& store, const DisplaySnapshot& display) {
    const std::string label = store.displayLabel(display);
    const std::string correction = store.softwareColorCorrectionEnabled() ? "켜짐" : "꺼짐";
    const std::string kelvin =
        QuorvaneColorTemperature::displayText(store.colorAdjustment(display.id).warmth);
    const std::string mode = display.currentMode ? display.currentMode->label() : "확인 중";

    ReferenceHeader header;
    header.title = label + " 화면 색감";
    header.metrics = {{"화면 색감", correction}, {"색온도", kelvin}, {"현재 화면", mode}};
    header.previewName = label;
    header.previewDetail =
        display.currentMode ? display.currentMode->label() : display.technicalSubtitle();
    header.previewChips = {{"색감", correction}, {"색온도", kelvin}};
    return header;
}

}  // namespace quorvane
