#pragma once

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The seven type roles; each carries only a size, the weight is the caller's.
enum class QuorvaneFontStyle { caption2, caption, callout, body, subheadline, headline, title3 };

// The size class standard controls (sliders, toggles, pickers) follow.
enum class QuorvaneControlSize { regular, large, extraLarge };

// 1.0, 1.12, 1.26, 1.44.
double textScale(QuorvaneTextSize size);
// 14 × scale, kept as its own literal table (15.68, 17.64, 20.16).
double baseFontPoints(QuorvaneTextSize size);
QuorvaneControlSize controlSize(QuorvaneTextSize size);
// The least height of a button framed to grow with the text size.
double accessibleButtonMinHeight(QuorvaneTextSize size);

double basePointSize(QuorvaneFontStyle style);
// base size × scale, never rounded: caption at veryLarge is 17.28 pt.
double scaledPointSize(QuorvaneFontStyle style, double scale);

}  // namespace quorvane
