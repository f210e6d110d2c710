#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

namespace quorvane::testing {

// What a theme gives the widgets under `root` that the user sees: for each
// visible widget in creation order, its class, font size and weight and the
// text and background colours it draws with. A window restyled in place
// after a theme change must read the same as one built fresh in that theme.
inline std::vector<std::string> styleSignature(const QWidget* root) {
    std::vector<std::string> lines;
    for (const QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root) || widget->window() != root->window())
            continue;
        const QFont font = widget->font();
        const QPalette palette = widget->palette();
        lines.push_back(QStringLiteral("%1 %2 %3pt w%4 text %5 button %6 window %7")
                            .arg(QString::fromLatin1(widget->metaObject()->className()),
                                 widget->accessibleName())
                            .arg(font.pointSizeF())
                            .arg(font.weight())
                            .arg(palette.color(QPalette::WindowText).name(QColor::HexArgb),
                                 palette.color(QPalette::ButtonText).name(QColor::HexArgb),
                                 palette.color(QPalette::Window).name(QColor::HexArgb))
                            .toStdString());
    }
    return lines;
}

// Reports each widget whose style differs between the two signatures.
inline void expectSameStyle(const std::vector<std::string>& restyled,
                            const std::vector<std::string>& built) {
    EXPECT_EQ(restyled.size(), built.size());
    for (std::size_t i = 0; i < std::min(restyled.size(), built.size()); ++i)
        EXPECT_EQ(restyled[i], built[i]) << "widget " << i;
}

}  // namespace quorvane::testing
