#include "views/design/monospaced_font.hpp"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>

namespace quorvane {

namespace {

// The generic family the desktop maps to its monospaced font, then the
// monospaced families of Debian's usual font packages, most common first.
const std::array<QString, 5> kFamilies{
    QStringLiteral("monospace"),      QStringLiteral("DejaVu Sans Mono"),
    QStringLiteral("Noto Sans Mono"), QStringLiteral("Liberation Mono"),
    QStringLiteral("Noto Mono"),
};

}  // namespace

bool drawsMonospaced(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(QStringLiteral("iiii"));
    const auto same = [advance, &metrics](const QString& text) {
        return std::abs(metrics.horizontalAdvance(text) - advance) < 0.01;
    };
    return advance > 0 && same(QStringLiteral("MMMM")) && same(QStringLiteral("0000")) &&
           same(QStringLiteral("1111")) && same(QStringLiteral("----"));
}

QFont monospaced(QFont font) {
    font.setStyleHint(QFont::Monospace);
    for (const auto& family : kFamilies) {
        font.setFamilies(QStringList{family});
        if (drawsMonospaced(font))
            return font;
    }
    font.setFamilies(QStringList{kFamilies.front()});
    return font;
}

}  // namespace quorvane
