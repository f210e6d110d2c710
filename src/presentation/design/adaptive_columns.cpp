#include "presentation/design/adaptive_columns.hpp"

#include <algorithm>

namespace quorvane {

int adaptiveColumnCount(int width, int minimumColumnWidth, int spacing, int itemCount) {
    const int step = std::max(1, minimumColumnWidth + spacing);
    const int fitting = (std::max(0, width) + spacing) / step;
    return std::clamp(fitting, 1, std::max(1, itemCount));
}

}  // namespace quorvane
