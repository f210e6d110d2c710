#pragma once

#include <QPainterPath>
#include <QRectF>

#include "presentation/design/quorvane_glyph.hpp"

namespace quorvane {

// The glyph's strokes and its two dots as paths in `rect`: the 24 × 24 grid
// is the square of the rectangle's shorter side, centred, uniformly scaled.
QPainterPath glyphStrokePath(QuorvaneGlyph glyph, const QRectF& rect);
QPainterPath glyphDotPath(QuorvaneGlyph glyph, const QRectF& rect);

}  // namespace quorvane
