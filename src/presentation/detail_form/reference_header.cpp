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
    header.metrics = {
        {kMetricTitles[0], correction}, {kMetricTitles[1], kelvin}, {kMetricTitles[2], mode}};
    header.previewName = label;
    header.previewDetail =
        display.currentMode ? display.currentMode->label() : display.technicalSubtitle();
    header.previewChips = {{kChipTitles[0], correction}, {kChipTitles[1], kelvin}};
    return header;
}

}  // namespace quorvane
