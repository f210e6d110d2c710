#pragma once

#include <QFont>

namespace quorvane {

// `font` in the system's monospaced family, its size and weight kept:
// numbers that line up, identifiers read character by character.
QFont monospaced(QFont font);

}  // namespace quorvane
