#include "models/ddc/ddc_capability_entry.hpp"

#include <algorithm>

#include "models/coding/text_joining.hpp"
#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {
namespace {

std::vector<DDCCapabilityControlRecord> recordsIn(
    const std::map<std::string, DDCCapabilityControlRecord>& controls,
    DDCCapabilityControlState state) {
    std::vector<DDCCapabilityControlRecord> records;
    for (const auto& [key, record] : controls) {
        if (record.state == state)
            records.push_back(record);
    }
    return records;
}

}  // namespace

std::vector<DDCCapabilityControlRecord> DDCCapabilityEntry::supportedRecords() const {
    return recordsIn(controls, DDCCapabilityControlState::supported);
}

std::vector<DDCCapabilityControlRecord> DDCCapabilityEntry::unstableRecords() const {
    return recordsIn(controls, DDCCapabilityControlState::unstable);
}

std::string DDCCapabilityEntry::supportedSummary() const {
    std::vector<DDCVCPCode> codes;
    for (const auto& record : supportedRecords()) {
        if (auto code = ddcVCPCodeFromRaw(record.codeRawValue))
            codes.push_back(*code);
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    if (codes.empty())
        return displayFailureReason.value_or("응답한 모니터 설정 항목 없음");
    std::vector<std::string> labels;
    for (DDCVCPCode code : codes)
        labels.emplace_back(label(code));
    return joined(labels, ", ");
}

}  // namespace quorvane
