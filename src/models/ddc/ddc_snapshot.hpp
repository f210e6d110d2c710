#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "models/ddc/ddc_control_value.hpp"
#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

// What one probe of one display found.
struct DDCSnapshot {
    std::uint32_t displayID = 0;
    std::uint32_t busCount = 0;                     // 0 when the display cannot be reached
    std::map<DDCVCPCode, DDCControlValue> values;   // the controls that answered
    std::map<DDCVCPCode, std::string> unsupported;  // the controls that failed, with why
    std::optional<std::string> lastError;           // a display-level problem

    bool operator==(const DDCSnapshot&) const = default;

    // The labels of the answered controls by code, joined with ", "; without
    // any, the last error or "응답한 모니터 설정 항목 없음".
    std::string supportedSummary() const;
};

}  // namespace quorvane
