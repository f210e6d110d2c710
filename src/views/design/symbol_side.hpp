#pragma once

class QFont;

namespace quorvane {

// The one rule for a system symbol's size: a symbol set at n points is drawn
// n pixels square (a layout point is a pixel at 96 dpi), filling that square
// edge to edge. A symbol that follows a font takes the font's size, not its
// line height, so it stands as large as the text beside it; one given its own
// points (an 11 × scale option symbol, a 22-point prompt icon) takes those.
int symbolSide(double points);
int symbolSide(const QFont& font);

}  // namespace quorvane
