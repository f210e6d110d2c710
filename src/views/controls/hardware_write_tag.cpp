#include "views/controls/hardware_write_tag.hpp"

#include <QPainter>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"

namespace quorvane {

namespace {

const QString kTitle = QStringLiteral("직접 적용");
constexpr int kSymbolGap = 4;

}  // namespace

HardwareWriteTag::HardwareWriteTag(Theme& theme, bool compact, QWidget* parent)
    : QWidget(parent), theme_(theme), compact_(compact) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // A tag: a few words, read as text.
    readAs(this, QAccessible::StaticText);
    setSpokenName(this, QStringLiteral("모니터 자체 설정에 직접 적용"));
    setToolTip(QStringLiteral("클릭하거나 조절을 끝내면 모니터 자체 설정에 직접 적용됩니다."));
    connect(&theme_, &Theme::changed, this, [this] {
        updateGeometry();
        update();
    });
}

QFont HardwareWriteTag::tagFont() const {
    return theme_.font(compact_ ? QuorvaneFontStyle::caption2 : QuorvaneFontStyle::caption,
                       QFont::DemiBold);
}

QSize HardwareWriteTag::sizeHint() const {
    const QFontMetrics metrics(tagFont());
    const int horizontal = compact_ ? 6 : 7;
    const int vertical = compact_ ? 2 : 3;
    const int symbol = symbolSide(tagFont());
    return {2 * horizontal + symbol + kSymbolGap + metrics.horizontalAdvance(kTitle) + 1,
            2 * vertical + metrics.height()};
}

std::optional<int> HardwareWriteTag::firstBaseline(int) const {
    return centredTextBaseline(tagFont(), kTitle, sizeHint().height());
}

void HardwareWriteTag::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorUse fill{ColorRole::warning, bySchemePair(theme_.scheme(), 0.09, 0.14)};
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(theme_.color(ColorRole::warning, 0.3), 1));
    painter.setBrush(theme_.color(fill));
    painter.drawRoundedRect(shape, 6, 6);

    const QFont font = tagFont();
    const QFontMetrics metrics(font);
    const int horizontal = compact_ ? 6 : 7;
    // Tags stand on cards, the window and the panel's slider rows.
    const QColor ink = theme_.textColor(ColorRole::warning, {PageGround::control, {fill}});
    const int symbol = symbolSide(font);
    paintSymbol(painter, QRectF(horizontal, (height() - symbol) / 2.0, symbol, symbol), "hand.tap",
                ink);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(horizontal + symbol + kSymbolGap, 0, width(), height()),
                     Qt::AlignLeft | Qt::AlignVCenter, kTitle);
}

}  // namespace quorvane
