#include "views/detail_form/detail_labels.hpp"

#include <QFontMetrics>
#include <QHBoxLayout>

#include "views/design/disclosure_button.hpp"
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

DisclosureButton* makeDisclosure(Theme& theme, const QString& title, QuorvaneFontStyle style,
                                 QFont::Weight weight, QWidget* content, std::string symbol) {
    auto* disclosure = new DisclosureButton(theme, title, style, weight);
    if (!symbol.empty())
        disclosure->setSymbol(std::move(symbol));
    content->setVisible(false);
    QObject::connect(disclosure, &QAbstractButton::toggled, content, &QWidget::setVisible);
    return disclosure;
}

}  // namespace quorvane
