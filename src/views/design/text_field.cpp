#include "views/design/text_field.hpp"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "views/design/theme.hpp"

namespace quorvane {

TextField::TextField(Theme& theme, QWidget* parent) : QLineEdit(parent), theme_(theme) {
    setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    connect(&theme_, &Theme::changed, this, &TextField::restyle);
    connect(this, &QLineEdit::textChanged, this, &TextField::centreText);
    restyle();
}

void TextField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        centreText();
}

void TextField::focusInEvent(QFocusEvent* event) {
    // Tabbed into, a line edit selects its text before Qt tells assistive
    // technology of the focus; a screen reader that hears the caret move
    // first takes the field for focused already and never speaks it. The
    // field takes the focus as if given it otherwise (no selection, no
    // caret move) and selects its text on the next turn, after the focus
    // has been told.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
        reason != Qt::ShortcutFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent quiet(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&quiet);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus() && !hasSelectedText())
                selectAll();
        },
        Qt::QueuedConnection);
}

void TextField::restyle() {
    QPalette colors = palette();
    const QColor placeholder = theme_.color(kPlaceholderText);
    colors.setColor(QPalette::Active, QPalette::PlaceholderText, placeholder);
    colors.setColor(QPalette::Inactive, QPalette::PlaceholderText, placeholder);
    colors.setColor(QPalette::Disabled, QPalette::PlaceholderText, placeholder);
    setPalette(colors);
    centreText();
}

void TextField::centreText() {
    // The line edit centres a box as tall as the text's bounding rectangle
    // and then raises the typed line by as much as that line's ascent
    // (Korean takes its fallback font's taller one) exceeds the field
    // font's own, so Korean text sits high. Text margins that move the
    // text area down by the difference, and shrink it by nothing, centre
    // the line as a button centres its label. The placeholder is centred
    // on its own line already and needs none.
    const QString shown = text();
    if (shown.isEmpty()) {
        setTextMargins(0, 0, 0, 0);
        return;
    }
    const QFontMetrics metrics(font());
    QTextLayout layout(shown, font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const int box = std::max(metrics.boundingRect(shown).height(), metrics.height());
    const double raised = std::round(line.ascent()) - metrics.ascent();
    const int drop = static_cast<int>(std::lround((box - line.height()) / 2.0 + raised));
    setTextMargins(0, drop, 0, -drop);
}

}  // namespace quorvane
