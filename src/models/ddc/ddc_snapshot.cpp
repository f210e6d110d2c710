#include "models/ddc/ddc_snapshot.hpp"
#include "models/coding/text_joining.hpp"

namespace quorvane {

std::string DDCSnapshot::supportedSummary() const {
    if (values.empty())
        return lastError.value_or("응답한 모니터 설정 항목 없음");
    // The map is ordered by code, which is raw-value order.
    std::vector<std::string> labels;
    for (const auto& [code, value] : values)
        labels.emplace_back(label(code));
    return joined(labels, ", ");
}

}  // namespace quorvane
