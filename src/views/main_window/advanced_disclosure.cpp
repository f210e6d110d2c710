#include "views/main_window/advanced_disclosure.hpp"
#include "views/design/symbol_side.hpp"

#include <QFontInfo>
#include <QPainter>

#include "presentation/main_window/main_window_texts.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kGap = 6;
constexpr int kPadding = 6;

// The disclosure chevron is as tall as the label's capitals; the label's
// symbol is set in the label's font. Both grow with the text size.
int chevronSide(const QFont& font) {
    return QFontMetrics(font).capHeight() + 2;
}

int iconSide(const QFont& font) {
    return symbolSide(font);
}

}  // namespace

AdvancedDisclosure::AdvancedDisclosure(Theme& theme, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setCheckable(true);
    readAsToggleButton(this);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setText(toQString(main_window_texts::kAdvancedGroupTitle));
    setToolTip(toQString(main_window_texts::kAdvancedGroupHelp));
    setSpokenName(this, text());
    connect(&theme_, &Theme::changed, this, [this] {
        updateGeometry();
        update();
    });
}

QSize AdvancedDisclosure::sizeHint() const {
    const QFont font = theme_.baseFont();
    const QFontMetrics metrics(font);
    const int width = kPadding + chevronSide(font) + kGap + iconSide(font) + kGap +
                      metrics.horizontalAdvance(text()) + kPadding;
    return {width, std::max(metrics.height(), iconSide(font)) + 2 * kPadding};
}

void AdvancedDisclosure::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = theme_.color(ColorRole::primary);
    const QColor secondary = theme_.color(ColorRole::secondary);
    const QFont font = theme_.baseFont();
    const int chevron = chevronSide(font);
    const int icon = iconSide(font);
    const int middle = height() / 2;
    int x = kPadding;
    paintSymbol(painter, QRectF(x, middle - chevron / 2.0, chevron, chevron),
                isChecked() ? "chevron.down" : "chevron.right", secondary);
    x += chevron + kGap;
    paintSymbol(painter, QRectF(x, middle - icon / 2.0, icon, icon),
                main_window_texts::kAdvancedGroupSymbol, ink);
    x += icon + kGap;
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(x, 0, width() - x - kPadding, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text());
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.5), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
}

}  // namespace quorvane
