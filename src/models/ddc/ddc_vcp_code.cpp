#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

std::optional<DDCVCPCode> ddcVCPCodeFromRaw(std::uint8_t raw) {
    for (DDCVCPCode code : kAllDDCVCPCodes) {
        if (rawValue(code) == raw)
            return code;
    }
    return std::nullopt;
}

std::string_view label(DDCVCPCode code) {
    switch (code) {
        case DDCVCPCode::brightness:
            return "모니터 밝기";
        case DDCVCPCode::contrast:
            return "모니터 대비";
        case DDCVCPCode::redGain:
            return "모니터 자체 RGB · 빨강";
        case DDCVCPCode::greenGain:
            return "모니터 자체 RGB · 초록";
        case DDCVCPCode::blueGain:
            return "모니터 자체 RGB · 파랑";
        case DDCVCPCode::inputSource:
            return "입력 소스";
        case DDCVCPCode::audioVolume:
            return "모니터 볼륨";
    }
    return {};
}

std::string_view caseName(DDCVCPCode code) {
    switch (code) {
        case DDCVCPCode::brightness:
            return "brightness";
        case DDCVCPCode::contrast:
            return "contrast";
        case DDCVCPCode::redGain:
            return "redGain";
        case DDCVCPCode::greenGain:
            return "greenGain";
        case DDCVCPCode::blueGain:
            return "blueGain";
        case DDCVCPCode::inputSource:
            return "inputSource";
        case DDCVCPCode::audioVolume:
            return "audioVolume";
    }
    return {};
}

std::optional<DDCVCPCode> parseCaseName(std::string_view text, DDCVCPCode*) {
    for (DDCVCPCode code : kAllDDCVCPCodes) {
        if (caseName(code) == text)
            return code;
    }
    return std::nullopt;
}

}  // namespace quorvane
