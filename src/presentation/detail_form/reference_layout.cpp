#include "presentation/detail_form/reference_layout.hpp"

namespace quorvane {

ReferenceLayout ReferenceLayout::forTextSize(QuorvaneTextSize size) {
    if (size != QuorvaneTextSize::veryLarge)
        return {};
    ReferenceLayout layout;
    layout.startGuideColumns = 1;
    layout.statusMetricColumns = 1;
    layout.statusMetricMinimumWidth = 120;
    layout.previewCardMinimumWidth = std::nullopt;
    layout.previewCardIdealWidth = std::nullopt;
    layout.previewCardMaximumWidth = std::nullopt;
    layout.colorCardColumns = 1;
    return layout;
}

}  // namespace quorvane
