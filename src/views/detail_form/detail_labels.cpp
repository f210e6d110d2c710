#include "views/detail_form/detail_labels.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QToolButton>

#include "views/design/symbol_image.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

WrappingLabel* makeText(Theme& theme, const QString& text, QuorvaneFontStyle style,
                        QFont::Weight weight, bool secondary) {
    auto* label = new WrappingLabel(text);
    label->setFont(theme.font(style, weight));
    label->setSecondary(secondary);
    return label;
}

QFont monospaced(QFont font) {
    font.setFamily(QStringLiteral("monospace"));
    font.setStyleHint(QFont::Monospace);
    return font;
}

SymbolImage* makeSymbol(std::string name, const QFont& font, const QColor& color) {
    auto* symbol = new SymbolImage(std::move(name));
    symbol->setFont(font);
    symbol->setColor(color);
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

QToolButton* makeDisclosure(Theme& theme, const QString& title, const QFont& font,
                            QWidget* content) {
    auto* disclosure = new QToolButton;
    disclosure->setText(title);
    disclosure->setFont(font);
    disclosure->setCheckable(true);
    disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure->setAutoRaise(true);
    // The style's arrow stays a few pixels tall at every text size; the
    // chevron follows the text.
    const int side = QFontMetrics(font).capHeight() + 2;
    disclosure->setIconSize(QSize(side, side));
    const QColor color = theme.color(ColorRole::secondary);
    const auto showOpen = [disclosure, content, side, color](bool open) {
        disclosure->setIcon(symbolIcon(open ? "chevron.down" : "chevron.right", color, side));
        content->setVisible(open);
    };
    showOpen(false);
    QObject::connect(disclosure, &QToolButton::toggled, disclosure, showOpen);
    return disclosure;
}

}  // namespace quorvane
