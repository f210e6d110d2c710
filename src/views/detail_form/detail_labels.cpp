#include "views/detail_form/detail_labels.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QToolButton>

#include "views/design/symbol_image.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight, bool secondary) {
    return themedLabel(theme, text, style, weight, secondary);
}

QFont monospaced(QFont font) {
    font.setFamily(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    return font;
}

SymbolImage* makeSymbol(Theme& theme, std::string name, QuorvaneFontStyle style,
                        QFont::Weight weight, std::optional<ColorRole> tint) {
    auto* symbol = new SymbolImage(std::move(name));
    followTheme(theme, symbol, [symbol, &theme, style, weight, tint] {
        symbol->setFont(theme.font(style, weight));
        symbol->setColor(tint ? theme.color(*tint) : QColor());
    });
    return symbol;
}

QHBoxLayout* makeSymbolRow(QWidget* symbol, QWidget* text, int spacing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addWidget(symbol, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    return row;
}

WrappingLabel* makeCaption(Theme& theme, const QString& text) {
    return makeText(theme, text, QuorvaneFontStyle::caption, QFont::Normal, true);
}

QToolButton* makeDisclosure(Theme& theme, const QString& title, QuorvaneFontStyle style,
                            QFont::Weight weight, QWidget* content) {
    auto* disclosure = new QToolButton;
    disclosure->setText(title);
    disclosure->setCheckable(true);
    disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure->setAutoRaise(true);
    // The style's arrow stays a few pixels tall at every text size; the
    // chevron follows the text.
    const auto showState = [disclosure, content, &theme] {
        const int side = QFontMetrics(disclosure->font()).capHeight() + 2;
        const bool open = disclosure->isChecked();
        disclosure->setIconSize(QSize(side, side));
        disclosure->setIcon(symbolIcon(open ? "chevron.down" : "chevron.right",
                                       theme.color(ColorRole::secondary), side));
        content->setVisible(open);
    };
    followTheme(theme, disclosure, [disclosure, &theme, style, weight, showState] {
        disclosure->setFont(theme.font(style, weight));
        showState();
    });
    QObject::connect(disclosure, &QToolButton::toggled, disclosure, showState);
    return disclosure;
}

}  // namespace quorvane
