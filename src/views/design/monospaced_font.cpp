#include "views/design/monospaced_font.hpp"

namespace quorvane {

QFont monospaced(QFont font) {
    font.setFamily(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace quorvane
