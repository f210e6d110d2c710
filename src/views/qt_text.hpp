#pragma once

#include <QString>
#include <string_view>

#include "presentation/design/mnemonic_text.hpp"

namespace quorvane {

// The UTF-8 texts of the presentation layer as Qt strings.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A name for the text of a menu item or a button, shown exactly as typed
// ("R&D" stays "R&D" and makes no shortcut).
inline QString toVerbatimButtonText(std::string_view text) {
    return toQString(verbatimMnemonicText(text));
}

}  // namespace quorvane
