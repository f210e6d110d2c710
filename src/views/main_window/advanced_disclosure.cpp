#include "views/main_window/advanced_disclosure.hpp"

#include <QPainter>

#include "presentation/main_window/main_window_texts.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kChevronSide = 12;
constexpr int kIconSide = 18;
constexpr int kGap = 6;
constexpr int kPadding = 6;

}  // namespace

AdvancedDisclosure::AdvancedDisclosure(Theme& theme, QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setText(toQString(main_window_texts::kAdvancedGroupTitle));
    setToolTip(toQString(main_window_texts::kAdvancedGroupHelp));
    setAccessibleName(text());
    connect(&theme_, &Theme::changed, this, [this] {
        updateGeometry();
        update();
    });
}

QSize AdvancedDisclosure::sizeHint() const {
    const QFontMetrics metrics(theme_.baseFont());
    const int width = kPadding + kChevronSide + kGap + kIconSide + kGap +
                      metrics.horizontalAdvance(text()) + kPadding;
    return {width, std::max(metrics.height(), kIconSide) + 2 * kPadding};
}

void AdvancedDisclosure::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = theme_.color(ColorRole::primary);
    const QColor secondary = theme_.color(ColorRole::secondary);
    const int middle = height() / 2;
    int x = kPadding;
    paintSymbol(painter, QRectF(x, middle - kChevronSide / 2.0, kChevronSide, kChevronSide),
                isChecked() ? "chevron.down" : "chevron.right", secondary);
    x += kChevronSide + kGap;
    paintSymbol(painter, QRectF(x, middle - kIconSide / 2.0, kIconSide, kIconSide),
                main_window_texts::kAdvancedGroupSymbol, ink);
    x += kIconSide + kGap;
    painter.setFont(theme_.baseFont());
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
