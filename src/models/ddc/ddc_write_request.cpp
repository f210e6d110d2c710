#include "models/ddc/ddc_write_request.hpp"

#include <array>

namespace quorvane {

std::string_view caseName(DDCWriteRequestKind kind) {
    switch (kind) {
        case DDCWriteRequestKind::sliderFinalValue:
            return "sliderFinalValue";
        case DDCWriteRequestKind::discreteAction:
            return "discreteAction";
        case DDCWriteRequestKind::brightnessSync:
            return "brightnessSync";
        case DDCWriteRequestKind::emergencyRecovery:
            return "emergencyRecovery";
    }
    return {};
}

std::optional<DDCWriteRequestKind> parseCaseName(std::string_view text, DDCWriteRequestKind*) {
    constexpr std::array kinds = {
        DDCWriteRequestKind::sliderFinalValue, DDCWriteRequestKind::discreteAction,
        DDCWriteRequestKind::brightnessSync, DDCWriteRequestKind::emergencyRecovery};
    for (DDCWriteRequestKind kind : kinds) {
        if (caseName(kind) == text)
            return kind;
    }
    return std::nullopt;
}

}  // namespace quorvane
