#pragma once

class QWidget;

namespace quorvane {

class Theme;

// Gives `sheet` (a dialog that opens at its own natural size) that size
// again when the text size changes while it is open, as a message box does:
// neither a larger text clipped in the smaller frame nor a smaller text in
// the larger one. The size is measured once every widget has restyled and
// laid itself out again. A change of scheme alone keeps the size.
//
// Usage, once, where the sheet is made: refitOnTextSizeChange(theme, this);
void refitOnTextSizeChange(Theme& theme, QWidget* sheet);

}  // namespace quorvane
