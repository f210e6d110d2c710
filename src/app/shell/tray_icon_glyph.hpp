#pragma once

#include <QIcon>

namespace quorvane {

// The tray icon: the panel's own symbol, a monitor on its stand, the one the
// main window's control that opens the panel draws too, so both read as one
// way to the panel. The light variant has dark strokes (for light trays),
// the dark variant light strokes.
enum class TrayGlyphVariant { light, dark };

QIcon trayIconGlyph(TrayGlyphVariant variant);

// The variant that stands out on a tray of this background colour.
TrayGlyphVariant trayGlyphVariantFor(const QColor& trayBackground);

}  // namespace quorvane
