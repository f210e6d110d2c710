#pragma once

#include <optional>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// Column counts and fixed widths of the two scroll pages (start guide and
// colour). Only veryLarge changes them; the three smaller sizes share one
// layout.
struct ReferenceLayout {
    int startGuideColumns = 3;
    int statusMetricColumns = 3;
    int statusMetricMinimumWidth = 96;
    // The preview card's widths; none (unbounded) at veryLarge.
    std::optional<int> previewCardMinimumWidth = 188;
    std::optional<int> previewCardIdealWidth = 204;
    std::optional<int> previewCardMaximumWidth = 224;
    int colorCardColumns = 2;

    // The header's metric tiles and preview card keep this much room inside.
    static constexpr int kSurfacePadding = 10;
    // The preview card's name and detail: two lines each, shrinking to 86 %
    // of their size before the end is cut.
    static constexpr int kPreviewTextLines = 2;
    static constexpr double kPreviewTextMinimumScale = 0.86;
    // A status metric's value: two lines, shrinking to 82 % before the end
    // is cut (a long mode label keeps its refresh rate).
    static constexpr int kMetricValueLines = 2;
    static constexpr double kMetricValueMinimumScale = 0.82;

    bool operator==(const ReferenceLayout&) const = default;

    static ReferenceLayout forTextSize(QuorvaneTextSize size);
};

}  // namespace quorvane
