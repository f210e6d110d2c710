#include "presentation/design/baseline_alignment.hpp"

#include <algorithm>

namespace quorvane {

namespace {

int baselineOf(const BaselineItem& item) {
    return item.baseline.value_or(item.height);
}

}  // namespace

BaselineLine alignOnFirstBaseline(const std::vector<BaselineItem>& items) {
    BaselineLine line;
    for (const auto& item : items)
        line.baseline = std::max(line.baseline, baselineOf(item));
    line.tops.reserve(items.size());
    for (const auto& item : items) {
        const int top = line.baseline - baselineOf(item);
        line.tops.push_back(top);
        line.height = std::max(line.height, top + item.height);
    }
    return line;
}

}  // namespace quorvane
