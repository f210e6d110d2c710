#pragma once

#include <QIcon>

namespace quorvane {

// The tray icon: a monitor on its stand, drawn by us. The light variant has
// dark strokes (for light trays), the dark variant light strokes.
enum class TrayGlyphVariant { light, dark };

QIcon trayIconGlyph(TrayGlyphVariant variant);

// The variant that stands out on a tray of this background colour.
TrayGlyphVariant trayGlyphVariantFor(const QColor& trayBackground);

}  // namespace quorvane
