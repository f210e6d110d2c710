#include "views/detail_form/form_rows.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "views/design/fit_to_width.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"

namespace quorvane {

QWidget* makeLabeledRow(Theme& theme, const QString& label, QWidget* content) {
    return makeLabeledRow(theme, makeText(theme, label, QuorvaneFontStyle::body), content);
}

QWidget* makeLabeledRow(Theme&, QWidget* label, QWidget* content) {
    // Side by side while both fit; in a narrow column the content goes
    // under its label.
    auto* row = new FitToWidth(12, 4);
    row->addWidget(label);
    row->addStretch(12);
    row->addWidget(content);
    return row;
}

QWidget* makeButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new FitToWidth(8, 8);
    for (auto* button : buttons)
        row->addWidget(button);
    row->addStretch(0);
    return row;
}

QWidget* makeUnavailableContent(Theme& theme, const char* systemImage, const QString& title,
                                const QString& description) {
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 8, 0, 8);
    column->setSpacing(6);
    auto* icon = new SymbolImage(systemImage);
    followTheme(theme, icon, [icon, &theme] {
        icon->setFixedSide(static_cast<int>(32 * theme.scale()));
        icon->setColor(theme.color(ColorRole::secondary));
    });
    column->addWidget(icon, 0, Qt::AlignHCenter);
    // Centred as blocks: each takes its own width (up to the column's) in
    // the middle.
    auto* heading = makeText(theme, title, QuorvaneFontStyle::headline, QFont::DemiBold);
    heading->setAlignment(Qt::AlignHCenter);
    column->addWidget(heading, 0, Qt::AlignHCenter);
    auto* text = makeText(theme, description, QuorvaneFontStyle::callout, QFont::Normal, true);
    text->setAlignment(Qt::AlignHCenter);
    column->addWidget(text, 0, Qt::AlignHCenter);
    return block;
}

QWidget* makeCurrentMark(Theme& theme) {
    auto* mark = new QWidget;
    auto* layout = new QHBoxLayout(mark);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* icon = new SymbolImage("checkmark.circle.fill");
    auto* text = new QLabel(QStringLiteral("현재"));
    followTheme(theme, mark, [icon, text, &theme] {
        const QColor green = theme.color(ColorRole::systemGreen);
        icon->setFont(theme.font(QuorvaneFontStyle::caption));
        icon->setColor(green);
        text->setFont(theme.font(QuorvaneFontStyle::caption));
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText, green);
        text->setPalette(palette);
    });
    layout->addWidget(icon);
    layout->addWidget(text);
    return mark;
}

void clearLayout(QLayout* layout) {
    while (QLayoutItem* item = layout->takeAt(0)) {
        // Later, not now: the widget may be the button whose click led here.
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        } else if (QLayout* inner = item->layout())
            clearLayout(inner);
        delete item;
    }
}

}  // namespace quorvane
