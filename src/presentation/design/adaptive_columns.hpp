#pragma once

namespace quorvane {

// How many columns a grid of adaptive columns shows at `width`: as many of
// at least `minimumColumnWidth` as fit with `spacing` between them, never
// fewer than one and never more than the `itemCount` items (so a short
// grid's items share the width rather than leaving empty columns).
//
// Usage: adaptiveColumnCount(width, 170, 8, tiles.size());
int adaptiveColumnCount(int width, int minimumColumnWidth, int spacing, int itemCount);

}  // namespace quorvane
