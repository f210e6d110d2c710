#pragma once

namespace quorvane {

// The two shapes of a row that may be too wide: side by side, or stacked.
enum class FitArrangement { horizontal, vertical };

// The side-by-side arrangement is kept while its ideal width fits the width
// offered (equal counts as fitting); otherwise the row stacks.
FitArrangement chooseArrangement(double horizontalIdealWidth, double offeredWidth);

}  // namespace quorvane
