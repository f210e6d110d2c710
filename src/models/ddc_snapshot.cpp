#include "models/ddc_snapshot.hpp"

namespace quorvane {

std::string DDCSnapshot::supportedSummary() const {
    if (values.empty())
        return lastError.value_or("응답한 모니터 설정 항목 없음");
    // The map is ordered by code, which is raw-value order.
    std::string summary;
    for (const auto& [code, value] : values) {
        if (!summary.empty())
            summary += ", ";
        summary += label(code);
    }
    return summary;
}

}  // namespace quorvane
