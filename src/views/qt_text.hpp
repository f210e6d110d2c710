#pragma once

#include <QString>
#include <string_view>

namespace quorvane {

// The UTF-8 texts of the presentation layer as Qt strings.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quorvane
