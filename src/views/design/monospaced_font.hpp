#pragma once

#include <QFont>

namespace quorvane {

// `font` in a monospaced family, its size and weight kept: numbers that
// line up, identifiers read character by character. It asks for the
// desktop's own monospace family first and, should that draw letters of
// different widths, for the monospaced families Debian desktops ship.
QFont monospaced(QFont font);

// Whether `font` as drawn gives every letter and digit one advance (a narrow
// "i" as wide as an "M", "1" as wide as "0"). A font may draw so without
// declaring itself fixed-pitch.
bool drawsMonospaced(const QFont& font);

}  // namespace quorvane
